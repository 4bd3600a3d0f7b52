#!/usr/bin/env bash
# The real program in hostile surroundings, each step with a time limit and
# named when it fails: standard output or error closed (the display's
# connection must not take their place), WAV files of 1 Hz and of 30 MB at
# 100 Hz, SIGTERM while an error box is up, an iconified window under a window
# manager (it must sleep, not draw), a window resized far beyond the screen,
# a data folder that another user may not read, and no /proc.
set -u
program=$1
shot=$2
assets=$3
sanitized=$4  # ON in the sanitizer build, whose memory is not bounded here
source "$(dirname "$0")/../support/own_display.sh"
start_own_display || { echo "FAIL: no X display of our own"; stop_own_display; exit 1; }
command -v twm >/dev/null || { echo "FAIL: twm is not installed (scripts/install-deps.sh installs it)"; exit 1; }

workdir=$(mktemp -d)
pid=
wm=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; [ -n "$wm" ] && kill "$wm"; rm -rf "$workdir"; stop_own_display' EXIT
failures=0
fail() { echo "FAIL ($step): $*"; failures=$((failures + 1)); }
export SDL_AUDIODRIVER=dummy

# Copies of the program and the shot tool with no data folder beside them, so
# that a file missing from the current folder is missing everywhere.
chmod 755 "$workdir"
mkdir "$workdir/bin" && cp "$program" "$shot" "$workdir/bin/" || { echo "FAIL: cannot copy the programs"; exit 1; }
copy="$workdir/bin/$(basename "$program")"
shot_copy="$workdir/bin/$(basename "$shot")"

# A folder of its own for a step, with the pictures (and the sound unless told).
enter() {
  step=$1
  mkdir "$workdir/$step" && cd "$workdir/$step" || exit 1
  cp "$assets"/*.bmp . || { echo "FAIL: no pictures in $assets"; exit 1; }
  [ "${2:-}" = nosound ] || cp "$assets/explode.wav" .
}

# start OUT ERR PROGRAM ARGS...: OUT or ERR "-" starts it with that one closed.
# Sets $pid and $window; a start that lost the race with the display's reset
# (see own_display.sh) is tried again.
start() {
  local out=$1 err=$2
  shift 2
  for _ in 1 2 3 4 5; do
    if [ "$out" = - ]; then "$@" >&- 2>"$err" &
    elif [ "$err" = - ]; then "$@" >"$out" 2>&- &
    else "$@" >"$out" 2>"$err" &
    fi
    pid=$!
    sleep 0.5
    kill -0 "$pid" 2>/dev/null && break
    wait "$pid"
    pid=
  done
  [ -n "$pid" ] || { fail "the program did not start"; return 1; }
  window=$(timeout 30 xdotool search --sync --name '^Quibbix$' | head -n 1)
  [ -n "$window" ] || { fail "no window"; return 1; }
}

# quit SECONDS: q must end the program with status 0 within that time.
quit() {
  xdotool key --window "$window" q 2>/dev/null
  for _ in $(seq $(($1 * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      local status=$?
      pid=
      [ "$status" = 0 ] || fail "q: status $status"
      return
    fi
    sleep 0.1
  done
  fail "still running $1 s after q"
  kill -9 "$pid"; wait "$pid" 2>/dev/null; pid=
}

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
clock_ticks=$(getconf CLK_TCK)

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
# write_wav RATE BYTES: 8-bit mono PCM of that rate with BYTES of samples.
write_wav() {
  {
    printf 'RIFF'; le32 $((36 + $2)); printf 'WAVEfmt '; le32 16
    printf '\x01\x00\x01\x00'; le32 "$1"; le32 "$1"; printf '\x01\x00\x08\x00'
    printf 'data'; le32 "$2"
    head -c "$2" /dev/zero | tr '\0' '\200'
  } >explode.wav
}

# --- Standard output or error closed: the program still answers q. ----------
enter stdout-closed
# An --fps line is due after five seconds; it must not go into the display.
start - stderr "$copy" --fps && { sleep 6; quit 3; }

enter stderr-closed nosound
mkdir explode.wav  # something to report on the closed stderr
start out - "$copy" && { sleep 1; quit 3; }

enter shot-stderr-closed
rm hamster.bmp
timeout 30 "$shot_copy" --seed 1 --frames 2 --out shot.png 2>&-
status=$?
[ "$status" = 1 ] || fail "status $status, not 1"
[ -e shot.png ] && fail "a picture was written"

# --- WAV files the audio library must not be given. -------------------------
enter wav-1hz nosound
write_wav 1 4052
if start out stderr "$copy"; then
  sleep 1
  grep -q '^Sound "explode.wav" is not played: explode.wav: a sample rate of 1 Hz' stderr ||
    fail "no line naming the rate: $(cat stderr)"
  grep -q 'Sanitizer' stderr && fail "a sanitizer report: $(cat stderr)"
  quit 3
fi

enter wav-100hz-30mb nosound
write_wav 100 30000000
if start out stderr "$copy"; then
  sleep 1
  grep -q '^Sound "explode.wav" is not played: explode.wav: a sample rate of 100 Hz' stderr ||
    fail "no line naming the rate: $(cat stderr)"
  peak=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  if [ "$sanitized" != ON ] && [ "$peak" -ge $((300 * 1024)) ]; then fail "peak memory $peak kB"; fi
  quit 3
fi

# --- SIGTERM while an error box is up takes the box and its processes. -------
enter killed-box
rm boden.bmp
box=
if start out stderr "$copy"; then
  for _ in $(seq 200); do
    box=$(xwininfo -root -tree | awk '$2 == "\"Error\":" {print $1}')
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fail "no error box"
  ours=$(for p in /proc/[0-9]*; do [ "$(readlink "$p/exe")" = "$copy" ] && echo "${p#/proc/}"; done 2>/dev/null)
  [ "$(echo "$ours" | wc -w)" -ge 2 ] || fail "the box has no process of its own: $ours"
  kill -TERM "$pid"
  wait "$pid"
  pid=
  sleep 2
  # A process left over, or one that nobody reaped, still has its /proc entry.
  for p in $ours; do
    # Killed here, else its copy of the connection would keep the program's
    # window open under the later steps.
    [ -d "/proc/$p" ] && fail "process $p is left: $(cat "/proc/$p/stat")" && kill -9 "$p"
  done
  [ -z "$(xwininfo -root -tree | awk '$2 == "\"Error\":"')" ] || fail "the box is still shown"
fi

# --- Iconified under a window manager: sleeps while hidden, draws when shown. -
enter iconic
printf '%s "fixed"\n' TitleFont ResizeFont MenuFont IconFont IconManagerFont >twmrc
twm -f "$PWD/twmrc" >/dev/null 2>&1 &
wm=$!
sleep 1
kill -0 "$wm" 2>/dev/null || fail "the window manager did not start"
if start out stderr "$copy" -iconic; then
  for _ in $(seq 100); do xprop -id "$window" WM_STATE | grep -q Iconic && break; sleep 0.1; done
  xprop -id "$window" WM_STATE | grep -q Iconic || fail "the window is not iconified"
  sleep 0.5
  before=$(ticks); sleep 5; used=$(($(ticks) - before))
  # At most 5 % of a core over the five seconds.
  [ $((used * 100)) -le $((clock_ticks * 5 * 5)) ] || fail "$used ticks of $clock_ticks a second while iconified"
  xdotool windowmap "$window"
  sleep 1
  before=$(ticks); sleep 2; used=$(($(ticks) - before))
  [ $((used * 100)) -gt $((clock_ticks * 2 * 5)) ] || fail "only $used ticks once shown again: not drawing"
  quit 3
fi
kill "$wm"; wait "$wm" 2>/dev/null; wm=

# --- A window resized far beyond the screen: the view drawn into stays the
# screen's size at most, and the program runs on. -----------------------------
enter huge-window
if start out stderr "$copy"; then
  xdotool windowsize "$window" 32705 32705
  sleep 3
  if kill -0 "$pid" 2>/dev/null; then
    view=$(xwininfo -children -id "$window" | awk '/^ +0x/ {print $(NF - 1)}')
    [ "${view%%+*}" = 1280x1024 ] || fail "the view is $view, not the screen's 1280x1024"
    quit 5
  else
    wait "$pid"; fail "the program ended with status $?: $(cat stderr)"; pid=
  fi
fi

# --- Another user's data folder that cannot be read: the reason is told. -----
enter forbidden-data-folder nosound
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  mkdir -m 000 "$workdir/bin/assets"
  if start out stderr setpriv --reuid=nobody --regid=nogroup --clear-groups "$copy"; then
    sleep 1
    grep -q "^explode.wav is in none of the folders searched: the current folder (No such file or directory), $workdir/bin/assets/ (Permission denied)$" stderr ||
      fail "no line with the reason: $(cat stderr)"
    quit 3
  fi
  rmdir "$workdir/bin/assets"
else
  echo "($step: not run, it needs root and setpriv)"
fi

# --- No /proc: the program says it cannot locate its data folder. ----------
enter no-proc
if [ "$(id -u)" = 0 ] && [ "$sanitized" != ON ] &&
  unshare -m sh -c 'mount -t tmpfs none /proc' 2>/dev/null; then
  unshare -m sh -c 'mount -t tmpfs none /proc && exec "$0" --help' "$copy" >out 2>stderr
  grep -qx "The program's data folder cannot be located (/proc/self/exe: No such file or directory); files are looked for in the current folder only." stderr ||
    fail "no line: $(cat stderr)"
else
  echo "($step: not run, it needs root, a mount namespace and a build without sanitizers)"
fi

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "hostile surroundings test passed"
