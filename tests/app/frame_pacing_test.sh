#!/usr/bin/env bash
# The real program at its starting 10 hamsters with --fps: it prints the frame
# rate every five seconds, holds it to about 60 a second, and sleeps between
# frames, so that it uses well under half of one core (unpaced, the software
# renderer drew a few hundred frames a second on 1.5 cores). The bounds are
# generous: a loaded machine only lowers the frame rate and the CPU time.
set -u
program=$(realpath "$1")
assets=$(realpath "$2")
source "$(dirname "$0")/../support/own_display.sh"
start_own_display || { echo "FAIL: no X display of our own"; stop_own_display; exit 1; }

workdir=$(mktemp -d)
trap 'rm -rf "$workdir"; stop_own_display' EXIT
cp "$assets"/*.bmp "$assets"/explode.wav "$workdir"/ || { echo "FAIL: no assets in $assets"; exit 1; }
cd "$workdir"

launch_program "$workdir/stderr" sh -c 'exec "$0" --fps >"$1"' "$program" "$workdir/fps" ||
  { echo "FAIL: the program never got the display"; exit 1; }
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }  # user + system, all threads
sleep 1
kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended at once:"; cat "$workdir/stderr"; exit 1; }
start_ticks=$(ticks); start_ns=$(date +%s%N)
for _ in $(seq 120); do
  [ "$(wc -l <"$workdir/fps")" -ge 2 ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
end_ticks=$(ticks); end_ns=$(date +%s%N)
kill "$pid"; wait "$pid" 2>/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mapfile -t lines <"$workdir/fps"
[ ${#lines[@]} -ge 2 ] || fail "not two reports in 13 s: ${lines[*]:-none}"
for line in "${lines[@]}"; do
  echo "$line"
  [[ $line =~ ^([0-9]+)\ frames\ in\ ([0-9]+\.[0-9])\ seconds\ =\ ([0-9]+\.[0-9]{3})\ FPS$ ]] ||
    { fail "not a report line: '$line'"; continue; }
  awk -v f="${BASH_REMATCH[3]}" 'BEGIN { exit !(f > 0 && f <= 66) }' ||
    fail "${BASH_REMATCH[3]} frames a second: pacing holds it to about 60"
done
ticks_per_second=$(getconf CLK_TCK)
cpu_share=$(awk -v t=$((end_ticks - start_ticks)) -v hz="$ticks_per_second" \
  -v ns=$((end_ns - start_ns)) 'BEGIN { printf "%.3f", t / hz / (ns / 1e9) }')
echo "CPU time / wall time: $cpu_share"
awk -v s="$cpu_share" 'BEGIN { exit !(s < 0.5) }' || fail "the program used $cpu_share of a core"

if [ "$failures" -ne 0 ]; then
  echo "stderr:"; cat "$workdir/stderr"
  exit 1
fi
echo "frame pacing test passed"
