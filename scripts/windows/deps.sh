#!/usr/bin/env bash
# Cross-builds the libraries the Windows programs need, from Debian's source
# packages of this machine's release, into PREFIX (first argument):
#   zlib and libpng (the shot tool), SDL2, SDL2_mixer (WAV only), freeglut.
# Each library is built once: a stamp naming its source version and recipe
# marks it done, so a second run only checks. Sources are fetched with apt-get
# source through an apt configuration of our own (the system's Debian entries as deb-src), so
# the system's apt setup is left as it is and no root is needed.
set -euo pipefail

prefix=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$prefix")
apt_dir=$top/apt
src_dir=$top/src
build_dir=$top/build
stamp_dir=$prefix/stamps
jobs=${QUIBBIX_JOBS:-2}
toolchain=$here/toolchain-x86_64-w64-mingw32.cmake
mkdir -p "$prefix" "$src_dir" "$build_dir" "$stamp_dir"

# Source package, the function that builds it, and the file whose presence in
# the prefix shows it is built.
packages=(
  "zlib build_zlib bin/libzlib1.dll"
  "libpng1.6 build_libpng bin/libpng16.dll"
  "libsdl2 build_sdl2 bin/SDL2.dll"
  "libsdl2-mixer build_sdl2_mixer bin/SDL2_mixer.dll"
  "freeglut build_freeglut bin/libfreeglut.dll"
)

apt_options=()
setup_apt() {
  [ ${#apt_options[@]} -eq 0 ] || return 0
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:?no release name in /etc/os-release}")
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
  # The system's own Debian entries for this release, turned into source entries.
  : >"$apt_dir/sources.list"
  if [ -f /etc/apt/sources.list ]; then
    grep -E "^deb[[:space:]]+([^ ]+[[:space:]]+)?[^ ]+[[:space:]]+$codename" /etc/apt/sources.list |
      sed 's/^deb[[:space:]]/deb-src /' >>"$apt_dir/sources.list" || true
  fi
  rm -f "$apt_dir"/sources.list.d/*
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    grep -q "^Suites:.*\b$codename\b" "$file" || continue
    sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt_dir/sources.list.d/$(basename "$file")"
  done
  for file in /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    grep -E "^deb[[:space:]].*[[:space:]]$codename" "$file" |
      sed 's/^deb[[:space:]]/deb-src /' >>"$apt_dir/sources.list" || true
  done
  apt_options=(
    -o Dir::Etc::SourceList="$apt_dir/sources.list"
    -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
    -o Dir::State::Lists="$apt_dir/lists"
    -o Dir::Cache="$apt_dir/cache"
    -o Debug::NoLocking=1
    -o APT::Sandbox::User="$(id -un)"
  )
  echo "deps: reading the $codename source lists" >&2
  apt-get "${apt_options[@]}" -q update >"$apt_dir/update.log" 2>&1 ||
    { cat "$apt_dir/update.log" >&2; echo "deps: apt-get update of the source lists failed" >&2; exit 1; }
}

# Unpacks the named source package under src/ once and prints its folder. The
# newest version comes first; where a mirror lacks it (some carry no security
# sources), the next older one of the release is taken.
fetch() {
  local name=$1 version folder work=$src_dir/work-$1
  local versions
  versions=$(apt-cache "${apt_options[@]}" showsrc "$name" | sed -n 's/^Version: //p' | sort -Vr | uniq)
  [ -n "$versions" ] || { echo "deps: no source package $name" >&2; exit 1; }
  for version in $versions; do
    folder=$src_dir/$name-${version#*:}
    if [ -f "$folder/.unpacked" ]; then break; fi
    rm -rf "$folder" "$work"
    mkdir -p "$work"
    if (cd "$work" && apt-get "${apt_options[@]}" -q source "$name=$version" >fetch.log 2>&1); then
      mv "$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)" "$folder"
      touch "$folder/.unpacked"
      rm -rf "$work"
      break
    fi
    echo "deps: $name $version could not be fetched; trying an older version" >&2
  done
  [ -f "$folder/.unpacked" ] || { cat "$work/fetch.log" >&2; echo "deps: apt-get source $name failed" >&2; exit 1; }
  echo "$version" >"$src_dir/$name.version"
  echo "$folder"
}

cmake_build() {
  local name=$1 source=$2
  shift 2
  rm -rf "${build_dir:?}/$name"
  cmake -S "$source" -B "$build_dir/$name" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUIBBIX_WINDOWS_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=ON "$@" >"$build_dir/$name.configure.log" 2>&1 ||
    { tail -40 "$build_dir/$name.configure.log" >&2; echo "deps: configuring $name failed" >&2; exit 1; }
  cmake --build "$build_dir/$name" -j"$jobs" >"$build_dir/$name.build.log" 2>&1 &&
    cmake --install "$build_dir/$name" >>"$build_dir/$name.build.log" 2>&1 ||
    { tail -40 "$build_dir/$name.build.log" >&2; echo "deps: building $name failed" >&2; exit 1; }
}

build_zlib() {
  # Debian's zlib source has no win32/ folder; its resource file only gives
  # the DLL a version, so a short one of ours stands in for it.
  mkdir -p "$1/win32"
  cat >"$1/win32/zlib1.rc" <<'RC'
1 VERSIONINFO
FILEVERSION 1,2,13,0
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904E4"
    BEGIN
      VALUE "FileDescription", "zlib data compression library"
    END
  END
END
RC
  cmake_build zlib "$1" -DSKIP_INSTALL_FILES=ON
}

build_libpng() {
  cmake_build libpng "$1" -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_ROOT="$prefix"
}

build_sdl2() {
  # Audio, threads and timers for SDL_mixer: the window is freeglut's and the
  # message box Windows' own. The video core stays (SDL 2.26 on Windows does
  # not link without it), but no renderers, input devices or tests.
  cmake_build SDL2 "$1" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_RENDER=OFF \
    -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
    -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_DIRECTX=OFF \
    -DSDL_RENDER_D3D=OFF -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF
}

build_sdl2_mixer() {
  cmake_build SDL2_mixer "$1" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=ON
}

build_freeglut() {
  cmake_build freeglut "$1" -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=OFF \
    -DFREEGLUT_BUILD_SHARED_LIBS=ON -DFREEGLUT_GLES=OFF
}

for entry in "${packages[@]}"; do
  read -r name builder product <<<"$entry"
  # The stamp holds the recipe's checksum: a changed option builds it again.
  recipe=$(declare -f "$builder" cmake_build | md5sum | cut -c1-32)
  if [ "$(sed -n 2p "$stamp_dir/$name" 2>/dev/null)" = "$recipe" ] && [ -f "$prefix/$product" ]; then
    continue
  fi
  started=$(date +%s)
  setup_apt
  source=$(fetch "$name")
  version=$(cat "$src_dir/$name.version")
  echo "deps: building $name $version"
  "$builder" "$source"
  [ -f "$prefix/$product" ] || { echo "deps: $name built no $product" >&2; exit 1; }
  printf '%s\n%s\n' "$version" "$recipe" >"$stamp_dir/$name"
  echo "deps: $name $version done in $(($(date +%s) - started)) s"
done
