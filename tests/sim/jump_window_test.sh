#!/usr/bin/env bash
# Presses space in the running program's window and listens through SDL's disk
# audio driver: the jump's sound must reach the device, and only after the key.
set -u
program=$1
assets=$2
# A display of its own, so that the window found by name is this test's.
source "$(dirname "$0")/../support/own_display.sh"
start_own_display || { echo "FAIL: no X display of our own"; stop_own_display; exit 1; }

workdir=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$workdir"; stop_own_display' EXIT
cp "$assets"/*.bmp "$assets"/explode.wav "$workdir"/ || { echo "FAIL: no assets in $assets"; exit 1; }
cd "$workdir"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$workdir/device.raw"

# True when the device output holds any sample that is not silence.
heard_something() {
  [ -s device.raw ] && [ -n "$(od -An -v -t x1 device.raw | tr -d ' 0\n' | head -c 1)" ]
}

launch_program "$workdir/stderr" "$program"
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window titled Quibbix"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 1
kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended early"; cat stderr; exit 1; }
if heard_something; then echo "FAIL: a sound played before any jump"; exit 1; fi

xdotool key --window "$window" space
for _ in $(seq 50); do heard_something && break; sleep 0.1; done
heard_something || { echo "FAIL: space played no sound"; cat stderr; exit 1; }

xdotool key --window "$window" q
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
status=$?
[ "$status" = 0 ] || { echo "FAIL: q ended the program with status $status"; exit 1; }
echo "jump window test passed"
