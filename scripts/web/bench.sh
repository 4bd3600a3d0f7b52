#!/usr/bin/env bash
# The browser build's figures in bench/README.md. The contact relaxation at
# 1500 hamsters under node (bench/web/relaxation_timing.cpp), settled and after
# a jump, in each of its branches: in the build of build-web/ (WebAssembly
# SIMD) and in one without SIMD (build-web-portable/). Then frames per second
# at 10, 500 and 1500 hamsters: the page in headless Chromium
# (tests/web/frame_rate.mjs) beside the desktop program under Xvfb
# (`quibbix --fps`, + typed with xdotool). Arguments: the Linux build folder
# (default build) and the seconds the page is measured at each count (default
# 10; the desktop program counts five). Needs scripts/web/build.sh run first
# and the page checks' modules (npm ci in tests/web).
set -euo pipefail
cd "$(dirname "$0")/../.."
linux=$(realpath "${1:-build}")
seconds=${2:-10}
counts=(10 500 1500)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

echo "== relaxation under node, WebAssembly SIMD (sse2 is its branch of SSE2 code)"
node build-web-wasm/quibbix-relaxation-timing.js
echo "== relaxation under node, without SIMD"
assetgen=$(sed -n 's/^QUIBBIX_HOST_ASSETGEN:FILEPATH=//p' build-web-wasm/CMakeCache.txt)
emcmake cmake -S . -B build-web-portable -DCMAKE_BUILD_TYPE=Release -DQUIBBIX_WEB_SIMD=OFF \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" -DQUIBBIX_HOST_ASSETGEN="$assetgen" >/dev/null
cmake --build build-web-portable -j2 --target quibbix-relaxation-timing >/dev/null
node build-web-portable/quibbix-relaxation-timing.js

echo "== browser (headless Chromium, SwiftShader)"
node tests/web/frame_rate.mjs build-web "$work" "$seconds" "${counts[@]}"

echo "== desktop (quibbix --fps under Xvfb)"
# The program prints a line every five seconds; after each change of count the
# second line covers five seconds at the new count alone.
cat >"$work/desktop.sh" <<'EOF'
set -euo pipefail
program=$1
shift
SDL_AUDIODRIVER=dummy "$program" --fps >"$work/fps.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n 1)
now=10
for count in "$@"; do
  while [ "$now" -lt "$count" ]; do
    xdotool key --window "$window" plus 2>/dev/null
    now=$((now + 10))
  done
  lines=$(wc -l <"$work/fps.log")
  while [ "$(wc -l <"$work/fps.log")" -lt $((lines + 2)) ]; do sleep 0.5; done
  echo "$count hamsters: $(tail -n 1 "$work/fps.log")"
done
EOF
work=$work xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/desktop.sh" "$linux/quibbix" "${counts[@]}"
