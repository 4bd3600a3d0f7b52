#!/usr/bin/env bash
# Builds Quibbix for the browser into build-web/: the page (index.html,
# quibbix.js, quibbix.wasm, favicon.png), the replay tool for node
# (quibbix-replay.js, run as `node build-web/quibbix-replay.js ARGS`) and the
# five data files, with Debian's Emscripten (scripts/install-deps.sh). The pictures and the sound come
# from the asset generator built for this machine: the one named by
# QUIBBIX_HOST_ASSETGEN (scripts/test.sh passes the Linux build's), or one built
# here. The build folders are build-web-wasm/ and build-web-host/; run again, it
# only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$PWD
out=$top/build-web
wasm=$top/build-web-wasm
jobs=${QUIBBIX_JOBS:-2}
step() { echo "== web: $*"; }

scripts/install-deps.sh

# This emcc's optimising link runs acorn, which Debian installs for node in
# /usr/share/nodejs.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

assetgen=${QUIBBIX_HOST_ASSETGEN:-}
if [ -z "$assetgen" ] || [ ! -x "$assetgen" ]; then
  step "asset generator for this machine"
  cmake -S . -B build-web-host -DQUIBBIX_TESTS=OFF -DQUIBBIX_BENCHMARKS=OFF >/dev/null
  cmake --build build-web-host -j"$jobs" --target quibbix-assetgen
  assetgen=build-web-host/quibbix-assetgen
fi

step "program and replay tool"
# The emulator runs the build's own programs under node (CMake's default
# would look for it through the PATH of whoever configured first).
emcmake cmake -S . -B "$wasm" -DCMAKE_BUILD_TYPE=Release -DQUIBBIX_WERROR=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" \
  -DQUIBBIX_HOST_ASSETGEN="$(realpath "$assetgen")" >/dev/null
cmake --build "$wasm" -j"$jobs"

step "build-web/"
rm -rf "$out"
mkdir -p "$out"
cp "$wasm/quibbix-replay.js" "$wasm"/assets/{boden.bmp,hamster.bmp,env.bmp,transp.bmp,explode.wav} "$out/"
# The page, the program and the icon; the page fetches the five files beside it.
cp "$wasm"/{index.html,quibbix.js,quibbix.wasm,favicon.png} "$out/"
for file in "$out"/*; do
  echo "   $(basename "$file"): $(stat -c %s "$file") bytes, $(gzip -9c "$file" | wc -c) gzipped"
done
