#!/usr/bin/env bash
# Installs the Debian packages the build, the program, the tests, the
# benchmarks, the package and the README's animation need, when missing.
set -euo pipefail

packages=(
  # the build and the program
  build-essential cmake pkg-config
  freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev
  libsdl2-dev libsdl2-mixer-dev libpng-dev
  # SDL's error box draws with the X core fonts; without them no box appears
  xfonts-base
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils
  # a window manager that iconifies, for the iconified window's test
  twm
  # the BMP fuzzer
  clang libclang-rt-14-dev
  # the formatting check (scripts/check-format.sh)
  clang-format
  # the Debian package (cpack -G DEB: dpkg-shlibdeps and file) and its checks: the desktop
  # entry, lintian, the AppStream metainfo
  dpkg-dev file desktop-file-utils lintian appstream
  # the README's animation (scripts/make-animation.sh)
  imagemagick
  # the Windows build and its checks (scripts/windows/): the cross compiler,
  # Debian's sources of the libraries (dpkg-dev unpacks them), Wine, the zip,
  # the installer (NSIS), the program's icon (imagemagick, above) and reading
  # its resources back (icoutils)
  ninja-build mingw-w64 wine wine64 zip unzip nsis icoutils
  # the browser build and its checks (scripts/web/): Emscripten, node for the
  # replay tool and the page checks, Chromium for the page, python3 to serve it
  emscripten nodejs chromium python3
)
# npm comes with some builds of node; Debian's node has it as its own package.
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
