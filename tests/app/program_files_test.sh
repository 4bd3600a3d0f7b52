#!/usr/bin/env bash
# The real program's command line, and its files found from any folder: from a
# folder holding none of them it takes all five from its data folder (no load
# message, the jump heard), and a sound in the current folder wins over the
# data folder's.
set -u
program=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The command line answers without a display.
help=$(env -u DISPLAY "$program" --help) || fail "--help: status $?"
for part in usage --version space Esc 'left button' explode.wav 'current folder'; do
  grep -q -- "$part" <<<"$help" || fail "--help does not mention $part"
done
[ "$(env -u DISPLAY "$program" --version)" = "quibbix $2" ] || fail "--version"
env -u DISPLAY "$program" --bogus >/dev/null 2>"${TMPDIR:-/tmp}/quibbix-usage.$$"
status=$?
[ "$status" = 2 ] || fail "--bogus: status $status"
grep -q '^usage: ' "${TMPDIR:-/tmp}/quibbix-usage.$$" || fail "--bogus: no usage on stderr"
rm -f "${TMPDIR:-/tmp}/quibbix-usage.$$"

# A display of its own, so that the window found by name is this test's.
source "$(dirname "$0")/../support/own_display.sh"
start_own_display || { echo "FAIL: no X display of our own"; stop_own_display; exit 1; }
workdir=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$workdir"; stop_own_display' EXIT
cd "$workdir"

# The device's output as one hex string.
heard() { od -An -v -t x1 device.raw 2>/dev/null | tr -d ' \n'; }

# Starts the program (its display given as the toolkit's option), jumps, waits
# until the device played something other than silence, quits with q.
jump_and_quit() {
  rm -f device.raw
  launch_program stderr env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$workdir/device.raw" \
    "$program" -display "$DISPLAY"
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n 1)
  [ -n "$window" ] || { fail "no window ($1)"; cat stderr; kill -9 "$pid"; pid=; return; }
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --window "$window" space
  for _ in $(seq 50); do heard | grep -q '[1-9a-f]' && break; sleep 0.1; done
  xdotool key --window "$window" q 2>/dev/null
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  wait "$pid"
  status=$?
  pid=
  [ "$status" = 0 ] || fail "q: status $status ($1)"
}

jump_and_quit "no files here"
grep -E '^Error: |left empty|is not played|^Sound is off' stderr && fail "a file was not found"
heard | grep -q '[1-9a-f]' || fail "the jump played no sound"

# One second of a single sample value that the generated sound never repeats.
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
{
  printf 'RIFF'; le32 $((36 + 176400)); printf 'WAVEfmt '; le32 16
  printf '\x01\x00\x02\x00'; le32 44100; le32 176400; printf '\x04\x00\x10\x00'
  printf 'data'; le32 176400
  head -c 176400 /dev/zero | tr '\0' '\042'
} >explode.wav
jump_and_quit "a sound of our own"
heard | grep -q '2222222222222222' || fail "the sound in the current folder was not the one played"

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "program files test passed"
