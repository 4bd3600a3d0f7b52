#!/usr/bin/env bash
# The program in a sanitizer build: start-up, a few hundred frames, a jump with
# its sound, then quitting by q and by closing the window. Any report from the
# address, leak or undefined-behaviour checkers fails the run.
set -u
program=$1
close_window=$2
assets=$3
# A display of its own: windows and boxes are found by name, and other tests
# may run their programs at the same time.
source "$(dirname "$0")/../support/own_display.sh"
start_own_display || { echo "FAIL: no X display of our own"; stop_own_display; exit 1; }

workdir=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$workdir"; stop_own_display' EXIT
cp "$assets"/*.bmp "$assets"/explode.wav "$workdir"/ || { echo "FAIL: no assets in $assets"; exit 1; }
cd "$workdir"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$workdir/device.raw"
export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
failures=0

for ending in q close; do
  launch_program stderr "$program"
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n 1)
  [ -n "$window" ] || { echo "FAIL ($ending): no window"; cat stderr; exit 1; }
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  # Well over 200 frames: a sanitizer build still draws this scene at more
  # than a hundred frames a second on the software renderer.
  sleep 3
  xdotool key --window "$window" space
  sleep 1.5
  [ -s device.raw ] || { echo "FAIL ($ending): the jump opened no sound device"; failures=$((failures + 1)); }
  if [ "$ending" = q ]; then
    xdotool key --window "$window" q 2>/dev/null
  else
    "$close_window" "$window"
  fi
  status="still running"
  for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; status=$?; pid=; break; fi
    sleep 0.1
  done
  if [ "$status" != 0 ] || grep -qE 'Sanitizer|runtime error' stderr; then
    echo "FAIL ($ending): status $status"; cat stderr; failures=$((failures + 1))
  fi
  [ -n "$pid" ] && { kill -9 "$pid"; pid=; }
  rm -f device.raw
done
[ "$failures" -eq 0 ] || exit 1
echo "leak run passed"
