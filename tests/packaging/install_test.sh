#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what landed where, the
# desktop entry, and the installed program run from a folder outside both the
# build and the prefix (the command line, all five files found, a jump heard).
set -u
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
command -v desktop-file-validate >/dev/null ||
  { echo "FAIL: desktop-file-validate is not installed (Debian package desktop-file-utils)"; exit 1; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expected=(
  bin/quibbix
  share/quibbix/boden.bmp share/quibbix/hamster.bmp share/quibbix/env.bmp
  share/quibbix/transp.bmp share/quibbix/explode.wav
  share/applications/quibbix.desktop
  share/metainfo/org.example.quibbix.metainfo.xml
  share/doc/quibbix/LICENSE
  share/icons/hicolor/256x256/apps/quibbix.png
  share/man/man6/quibbix.6
)
for file in "${expected[@]}"; do [ -s "$prefix/$file" ] || fail "$file not installed"; done
[ "$(cd "$prefix" && find . -type f | wc -l)" = "${#expected[@]}" ] || fail "other files installed"
[ -x "$prefix/bin/quibbix" ] || fail "bin/quibbix is not executable"
desktop-file-validate "$prefix/share/applications/quibbix.desktop" || fail "desktop entry"
[ "$(head -c 8 "$prefix/share/icons/hicolor/256x256/apps/quibbix.png" | od -An -t x1 | tr -d ' ')" = \
  89504e470d0a1a0a ] || fail "the icon is not a PNG"
grep -q '^\.TH QUIBBIX 6 .*'"$version" "$prefix/share/man/man6/quibbix.6" || fail "manual page"
(cd / && "$prefix/bin/quibbix" --help) | grep -qF "$prefix/share/quibbix/" ||
  fail "--help does not name the installed data folder"
[ "$failures" = 0 ] || exit 1

cd /tmp && "$here/../app/program_files_test.sh" "$prefix/bin/quibbix" "$version"
