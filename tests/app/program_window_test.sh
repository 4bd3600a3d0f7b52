#!/usr/bin/env bash
# Drives the real program through its window with xdotool: the window's title,
# size and place, the keys that quit and those that must not, and closing it.
set -u
program=$1
close_window=$2
assets=$3
# A display of its own, so that the window found by name is this test's.
source "$(dirname "$0")/../support/own_display.sh"
start_own_display || { echo "FAIL: no X display of our own"; stop_own_display; exit 1; }

workdir=$(mktemp -d)
trap 'rm -rf "$workdir"; stop_own_display' EXIT
# Without its pictures the program stops at the loader's modal boxes.
cp "$assets"/*.bmp "$workdir"/ || { echo "FAIL: no pictures in $assets"; exit 1; }
cd "$workdir"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

start() {
  launch_program "$workdir/stderr" "$program"
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n 1)
  [ -n "$window" ] || { fail "no window titled Quibbix"; kill "$pid"; return 1; }
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  sleep 0.3
}

# Waits up to 10 s for the program to end and sets $status.
wait_for_end() {
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; status=$?; return; fi
    sleep 0.1
  done
  kill -9 "$pid"; wait "$pid" 2>/dev/null; status="still running"
}

still_running() { sleep 0.5; kill -0 "$pid" 2>/dev/null; }

# Title, size and position (no window manager, so the position is exact).
start || exit 1
info=$(xwininfo -id "$window")
echo "$info" | grep -q 'Width: 500' || fail "width is not 500: $info"
echo "$info" | grep -q 'Height: 500' || fail "height is not 500"
echo "$info" | grep -q 'Absolute upper-left X:  100' || fail "x is not 100"
echo "$info" | grep -q 'Absolute upper-left Y:  100' || fail "y is not 100"
[ "$(xdotool search --name '^Quibbix$' | wc -l)" -eq 1 ] || fail "more than one window"

# Keys and buttons that must do nothing.
xdotool key --window "$window" Q
xdotool key --window "$window" equal
xdotool mousemove --window "$window" 250 250 click 3
still_running || fail "Q, = or a right click ended the program"
xdotool key --window "$window" q
wait_for_end
[ "$status" = 0 ] || fail "q: status $status"

start || exit 1
xdotool key --window "$window" Escape
wait_for_end
[ "$status" = 0 ] || fail "Esc: status $status"

# Closing the window returns from the main loop and the program returns 0.
start || exit 1
"$close_window" "$window"
wait_for_end
[ "$status" = 0 ] || fail "closing the window: status $status"

if [ "$failures" -ne 0 ]; then
  echo "stderr of the last run:"; cat "$workdir/stderr"
  exit 1
fi
echo "window test passed"
