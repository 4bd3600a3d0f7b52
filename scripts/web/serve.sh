#!/usr/bin/env bash
# Serves build-web/ (scripts/web/build.sh) on 127.0.0.1, port 8000 unless
# another is given, until interrupted. WebAssembly is served as
# application/wasm, which the browser's streaming compiler insists on.
set -euo pipefail
cd "$(dirname "$0")/../.."
port=${1:-8000}
[ -f build-web/index.html ] || { echo "no build-web/index.html: run scripts/web/build.sh first" >&2; exit 1; }
echo "Quibbix: http://127.0.0.1:$port/"
exec python3 "$PWD/scripts/web/serve.py" "$port" "$PWD/build-web"
