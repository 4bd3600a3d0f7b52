#!/usr/bin/env bash
# Packs the build as a Debian package (cpack into a folder of its own) and
# checks it as a packager would: its files in Debian's places for a game,
# lintian with no error or warning, the AppStream metainfo valid. Then, as root
# and only where quibbix is not installed already, installs it with apt-get,
# starts /usr/games/quibbix from / (a window, nothing on stderr), purges it and
# checks that nothing of it is left.
set -u
build=$1
version=$2
deb=quibbix_${version}_amd64.deb
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for tool in lintian:lintian appstreamcli:appstream dpkg-shlibdeps:dpkg-dev; do
  command -v "${tool%%:*}" >/dev/null ||
    { echo "FAIL: ${tool%%:*} is not installed (Debian package ${tool#*:})"; exit 1; }
done
work=$(mktemp -d)
source "$(dirname "$0")/../support/own_display.sh"
pid=
installed_here=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$installed_here" ] && apt-get purge -y -q quibbix >/dev/null 2>&1
  stop_own_display
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
[ -f "$work/$deb" ] || { echo "FAIL: no $deb"; exit 1; }

dpkg-deb -c "$work/$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/files"
expected="/usr/games/quibbix
/usr/share/applications/quibbix.desktop
/usr/share/doc/quibbix/changelog.gz
/usr/share/doc/quibbix/copyright
/usr/share/games/quibbix/boden.bmp
/usr/share/games/quibbix/env.bmp
/usr/share/games/quibbix/explode.wav
/usr/share/games/quibbix/hamster.bmp
/usr/share/games/quibbix/transp.bmp
/usr/share/icons/hicolor/256x256/apps/quibbix.png
/usr/share/man/man6/quibbix.6.gz
/usr/share/metainfo/org.example.quibbix.metainfo.xml"
[ "$(cat "$work/files")" = "$expected" ] ||
  fail "the package's files: $(diff <(echo "$expected") "$work/files" | grep '^[<>]' | tr '\n' ' ')"
dpkg-deb -f "$work/$deb" Description | grep -q '^ *;' && fail "a line of the Description starts with ';'"

lintian --fail-on error,warning "$work/$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(grep -v 'root privileges' "$work/lintian.log")"

dpkg-deb -x "$work/$deb" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/"*.metainfo.xml >"$work/as.log" 2>&1 ||
  fail "appstreamcli: $(cat "$work/as.log")"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$work/root/usr/share/doc/quibbix/copyright" || fail "copyright is not machine-readable"
grep -q 'Copyright (c) 2026 the Quibbix authors' "$work/root/usr/share/doc/quibbix/copyright" ||
  fail "copyright lacks the licence"
zcat "$work/root/usr/share/doc/quibbix/changelog.gz" | head -1 | grep -q "^quibbix ($version)" ||
  fail "changelog.gz does not start at $version"
[ "$failures" = 0 ] || exit 1

# Installing changes the machine: only as root, and never over a quibbix that
# was there before this test.
if [ "$(id -u)" != 0 ] || dpkg-query -W quibbix >/dev/null 2>&1; then
  echo "deb test: not installed (needs root and no quibbix installed); package checks passed"
  exit 0
fi
installed_here=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$work/$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; echo "FAIL: apt-get install"; exit 1; }
dpkg-query -L quibbix >"$work/installed"
start_own_display || { echo "FAIL: no X display of our own"; exit 1; }
cd / && launch_program "$work/stderr" env SDL_AUDIODRIVER=dummy /usr/games/quibbix
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n 1)
if [ -n "$window" ]; then
  sleep 1
  xdotool key --window "$window" q 2>/dev/null
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  wait "$pid"
  status=$?
  [ "$status" = 0 ] || fail "q: status $status"
else
  fail "no window from /usr/games/quibbix"
  kill -9 "$pid"
fi
pid=
[ -s "$work/stderr" ] && fail "stderr of the installed program: $(cat "$work/stderr")"

installed_here=
apt-get purge -y -q quibbix >"$work/apt.log" 2>&1 || fail "apt-get purge: $(cat "$work/apt.log")"
while read -r path; do
  [ "$path" = /. ] && continue
  # Folders that other packages own too (/usr/games, /usr/share/man, ...) stay.
  if [ -f "$path" ] || { [ -d "$path" ] && ! dpkg-query -S "$path" >/dev/null 2>&1; }; then
    fail "left after purge: $path"
  fi
done <"$work/installed"
dpkg-query -W quibbix >/dev/null 2>&1 && fail "dpkg still lists quibbix"
[ "$failures" = 0 ] || exit 1
echo "deb test passed"
