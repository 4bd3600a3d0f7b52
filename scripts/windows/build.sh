#!/usr/bin/env bash
# Builds Quibbix for 64-bit Windows into build-windows/: the libraries from
# Debian's sources (once), the programs and the tests with mingw-w64, the
# release archive quibbix-<version>-windows-x64.zip and the installer
# quibbix-<version>-windows-x64-setup.exe. Needs mingw-w64, cmake, ninja, zip,
# ImageMagick and NSIS (scripts/install-deps.sh); run again, it only rebuilds
# what changed.
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
# has none of them), the licences in licenses/ and a README, in one folder
# named like the archive. Debug information stays in the build folder's copy.
step "release archive"
version=$(sed -n 's/^QUIBBIX_VERSION:INTERNAL=//p' "$out/CMakeCache.txt")
name=quibbix-${version:-0.0.0}-windows-x64
stage=$out/package/$name
rm -rf "$out/package" "$out"/quibbix-*-windows-x64.zip "$out"/quibbix-*-windows-x64-setup.exe
mkdir -p "$stage/assets" "$stage/licenses"
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
sed "s/@VERSION@/${version:-0.0.0}/g" scripts/windows/README.txt | sed 's/$/\r/' >"$stage/README.txt"

# The licences, from the sources the libraries were built from (deps.sh
# unpacked them) and, for the threads library linked into each program, from
# the copyright file of Debian's mingw-w64; with Windows' line breaks.
sources=$out/deps/src
source_folder() { echo "$sources/$1-$(sed 's/^[0-9]*://' "$sources/$1.version")"; }
licence() {
  [ -s "$1" ] || { echo "windows: no licence text $1" >&2; exit 1; }
  sed 's/\r*$/\r/' "$1" >"$stage/licenses/$2"
}
licence LICENSE Quibbix.txt
licence "$(source_folder freeglut)/COPYING" freeglut.txt
licence "$(source_folder libsdl2)/LICENSE.txt" SDL2.txt
licence "$(source_folder libsdl2)/README-SDL.txt" README-SDL.txt
licence "$(source_folder libsdl2-mixer)/LICENSE.txt" SDL2_mixer.txt
# winpthreads' stanzas of the machine-readable file (its tests, which are not
# linked, left out), then the texts of the licences they name.
mingw_copyright=/usr/share/doc/mingw-w64-common/copyright
{
  echo "winpthreads, the POSIX threads library of mingw-w64, is linked into quibbix.exe."
  echo "It is under the MIT licence (\"expat\" below). Its notices, from $mingw_copyright:"
  echo
  awk 'BEGIN { RS = ""; ORS = "\n\n" }
    FNR == NR {
      if ($0 ~ /^Files: mingw-w64-libraries\/winpthreads\// && $0 !~ /tests_pthread/) {
        print
        for (i = 1; i < NF; i++) if ($i == "License:") named[$(i + 1)] = 1
      }
      next
    }
    /^License: / { split($0, words, /[ \n]/); if (words[2] in named) print }' \
    "$mingw_copyright" "$mingw_copyright"
} >"$out/winpthreads.txt"
grep -q "Permission is hereby granted" "$out/winpthreads.txt" ||
  { echo "windows: no MIT text for winpthreads in $mingw_copyright" >&2; exit 1; }
licence "$out/winpthreads.txt" winpthreads.txt

(cd "$out/package" && zip -qr -X "$out/$name.zip" "$name")
echo "windows: $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"

# The installer: the same folder, the hamster icon, Debian's NSIS.
step "installer"
setup=$out/$name-setup.exe
makensis -V2 -DVERSION="${version:-0.0.0}" -DSTAGE="$stage" \
  -DICON="$out/icon/quibbix.ico" -DOUTFILE="$setup" scripts/windows/installer.nsi
echo "windows: $setup ($(stat -c %s "$setup") bytes)"
