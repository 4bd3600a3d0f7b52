#!/usr/bin/env bash
# Builds Quibbix for 64-bit Windows into build-windows/: the libraries from
# Debian's sources (once), the programs and the tests with mingw-w64, and the
# release archive quibbix-<version>-windows-x64.zip. Needs mingw-w64, cmake,
# ninja and zip (scripts/install-deps.sh); run again, it only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$PWD
out=$top/build-windows
prefix=$out/deps/prefix
jobs=${QUIBBIX_JOBS:-2}

step() { echo "== windows: $*"; }

step "libraries"
QUIBBIX_JOBS=$jobs scripts/windows/deps.sh "$prefix"

# The generator of the pictures and the sound runs on this machine: the one
# named by QUIBBIX_HOST_ASSETGEN (scripts/test.sh passes the Linux build's), or
# one built here.
assetgen=${QUIBBIX_HOST_ASSETGEN:-}
if [ -z "$assetgen" ] || [ ! -x "$assetgen" ]; then
  step "asset generator for this machine"
  host_build=$out/host
  cmake -S . -B "$host_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIBBIX_TESTS=OFF \
    -DQUIBBIX_BENCHMARKS=OFF >/dev/null
  cmake --build "$host_build" -j"$jobs" --target quibbix-assetgen
  assetgen=$host_build/quibbix-assetgen
fi

step "programs and tests"
cmake -S . -B "$out" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$top/scripts/windows/toolchain-x86_64-w64-mingw32.cmake" \
  -DQUIBBIX_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DQUIBBIX_HOST_ASSETGEN="$(realpath "$assetgen")" \
  -DQUIBBIX_GTEST_SOURCE=/usr/src/googletest -DQUIBBIX_BENCHMARKS=OFF \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$top/scripts/windows/wine-run.sh" >/dev/null
cmake --build "$out" -j"$jobs"

# The release archive: the program, its DLLs, the pictures and the sound in
# assets/ beside it (where the program looks when the folder it is started in
# has none of them), and a README, in one folder named like the archive. Debug information stays in the
# build folder's copy.
step "release archive"
version=$(sed -n 's/^QUIBBIX_VERSION:INTERNAL=//p' "$out/CMakeCache.txt")
name=quibbix-${version:-0.0.0}-windows-x64
stage=$out/package/$name
rm -rf "$out/package" "$out"/quibbix-*-windows-x64.zip
mkdir -p "$stage/assets"
cp "$out/quibbix.exe" "$stage/"
# The DLLs the program imports, and theirs in turn; Windows' own are not copied.
pending=("$stage/quibbix.exe")
while [ ${#pending[@]} -gt 0 ]; do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    if [ -f "$prefix/bin/$dll" ] && [ ! -f "$stage/$dll" ]; then
      cp "$prefix/bin/$dll" "$stage/"
      pending+=("$stage/$dll")
    fi
  done
done
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll
cp "$out"/assets/{boden.bmp,hamster.bmp,env.bmp,transp.bmp,explode.wav} "$stage/assets/"
sed "s/@VERSION@/${version:-0.0.0}/" scripts/windows/README.txt | sed 's/$/\r/' >"$stage/README.txt"
(cd "$out/package" && zip -qr -X "$out/$name.zip" "$name")
echo "windows: $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
