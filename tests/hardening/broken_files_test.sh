#!/usr/bin/env bash
# Starts the real program with broken and missing pictures and sounds, and
# answers its real error boxes with the Return key: one box and one stderr
# line per bad picture, the other pictures made into textures, a jump heard
# only when its sound is sound (and never before the jump), and a normal quit.
#
# Seven runs cover every picture in every state once (a Latin square):
# picture i is in state (i + run) mod 7 of missing, empty, truncated, a
# rejected header size, other dimensions than it should have (for the cut-out,
# wider than the driver's largest texture), a pipe with no writer, intact. The
# sound is intact, missing, corrupt (no format chunk), cut short or a pipe, in
# turn; a sound cut short may be played as far as it goes or refused. A pipe
# must never be waited on: start-up and the jump go on, and q still quits.
set -u
program=$1
assets=$2
# A display of its own: windows and boxes are found by name, and other tests
# may run their programs at the same time.
source "$(dirname "$0")/../support/own_display.sh"
start_own_display || { echo "FAIL: no X display of our own"; stop_own_display; exit 1; }

pictures=(boden.bmp hamster.bmp env.bmp transp.bmp)
states=(missing empty truncated header dimensions pipe intact)
sounds=(intact missing corrupt truncated pipe)
workdir=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$workdir"; stop_own_display' EXIT
failures=0
fail() { echo "FAIL (run $run): $*"; failures=$((failures + 1)); }

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }

# A valid 24-bit picture of the given size, rows padded to 4 bytes, grey.
write_bmp() {
  local width=$1 height=$2 file=$3
  local row=$(((width * 3 + 3) / 4 * 4))
  {
    printf 'BM'; le32 $((54 + row * height)); le32 0; le32 54
    le32 40; le32 "$width"; le32 "$height"; le16 1; le16 24; le32 0
    le32 $((row * height)); le32 2835; le32 2835; le32 0; le32 0
    head -c $((row * height)) /dev/zero | tr '\0' '\200'
  } >"$file"
}

break_picture() {
  local file=$1 state=$2 cutout=$3
  case $state in
    missing) rm -f "$file" ;;
    empty) : >"$file" ;;
    truncated) head -c 300 "$assets/$file" >"$file" ;;
    header) printf '\x6c' | dd of="$file" bs=1 seek=14 conv=notrunc status=none ;;  # 108
    dimensions)
      # An odd width for the scaled pictures; wider than GL_MAX_TEXTURE_SIZE
      # (16384 with Mesa) for the cut-out, which is scaled down to fit.
      if [ "$cutout" = yes ]; then write_bmp 20000 4 "$file"; else write_bmp 30 20 "$file"; fi ;;
    pipe) rm -f "$file" && mkfifo "$file" ;;
    intact) ;;
  esac
}

# The ids of the error boxes on screen. Each is a top-level window of its own
# process, so it is looked up by name in the window tree.
boxes() { xwininfo -root -tree | awk '$2 == "\"Error\":" {print $1}'; }

heard_something() {
  [ -s device.raw ] && [ -n "$(od -An -v -t x1 device.raw | tr -d ' 0\n' | head -c 1)" ]
}

wait_for_end() {
  for _ in $(seq 150); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; status=$?; pid=; return; fi
    sleep 0.1
  done
  kill -9 "$pid"; wait "$pid" 2>/dev/null; pid=; status="still running"
}

# A copy of the program with no data folder beside it, so that a file missing
# here is missing everywhere (the build's assets/ would fill in for it).
mkdir "$workdir/bin" && cp "$program" "$workdir/bin/" || { echo "FAIL: cannot copy $program"; exit 1; }
program="$workdir/bin/$(basename "$program")"

for run in 0 1 2 3 4 5 6; do
  rm -rf "$workdir/run" && mkdir "$workdir/run" && cd "$workdir/run" || exit 1
  cp "$assets"/*.bmp "$assets"/explode.wav . || { echo "FAIL: no assets in $assets"; exit 1; }
  bad=()
  oversized=no
  for i in 0 1 2 3; do
    state=${states[$(((i + run) % 7))]}
    cutout=no; [ "$i" = 3 ] && cutout=yes
    break_picture "${pictures[$i]}" "$state" "$cutout"
    case $state in dimensions | intact) ;; *) bad+=("${pictures[$i]}:$state") ;; esac
    [ "$state$cutout" = dimensionsyes ] && oversized=yes
  done
  sound=${sounds[$((run % 5))]}
  case $sound in
    missing) rm explode.wav ;;
    corrupt) head -c 12 "$assets/explode.wav" >explode.wav && head -c 4000 /dev/zero >>explode.wav ;;
    truncated) head -c 3000 "$assets/explode.wav" >explode.wav.part && mv explode.wav.part explode.wav ;;
    pipe) rm explode.wav && mkfifo explode.wav ;;
  esac

  launch_program stderr env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$PWD/device.raw" "$program"
  # Answer the boxes as they come, one after another, until the window is up.
  answered=0
  for _ in $(seq 300); do
    box=$(boxes | head -n 1)
    if [ -n "$box" ]; then
      xdotool windowfocus --sync "$box" 2>/dev/null && xdotool key Return
      for _ in $(seq 50); do boxes | grep -qx "$box" || break; sleep 0.1; done
      answered=$((answered + 1))
      continue
    fi
    # No box at all (SDL's X11 box needs the core fonts of xfonts-base): stop
    # at once with SDL's own words instead of waiting for boxes to answer.
    if grep -q '^(no message box could be shown' stderr; then
      echo "FAIL (run $run): the program could not show its error box:"
      grep '^(no message box could be shown' stderr
      exit 1
    fi
    [ "$answered" -ge "${#bad[@]}" ] && xdotool search --onlyvisible --name '^Quibbix$' >/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  sleep 1
  [ -z "$(boxes)" ] || fail "a box is still open"
  [ "$answered" = "${#bad[@]}" ] || fail "answered $answered boxes for ${#bad[@]} bad pictures (${bad[*]})"
  [ "$(grep -c '^Error: ' stderr)" = "${#bad[@]}" ] || fail "stderr lines for ${bad[*]}"
  for entry in "${bad[@]}"; do
    file=${entry%%:*}
    case ${entry#*:} in
      missing | empty) grep -qx "Error: Failed to open DIB file $file." stderr || fail "no open failure for $file" ;;&
      missing)
        grep -q "^$file is in none of the folders searched: the current folder (No such file or directory), .*/share/quibbix/ (No such file or directory)$" stderr ||
          fail "the folders searched for $file are not named" ;;
      header) grep -qx "Error: Unknown DIB file format." stderr || fail "no format message for $file" ;;
      pipe)
        grep -qx "Error: Failed to open DIB file $file." stderr || fail "no open failure for $file"
        grep -qx "$file: not a regular file" stderr || fail "no reason for $file" ;;
    esac
  done
  # The pictures that loaded, odd sizes included, became textures.
  for file in "${pictures[@]}"; do
    expected=0
    for entry in "${bad[@]}"; do [ "${entry%%:*}" = "$file" ] && expected=1; done
    [ "$(grep -cx "Texture from $file left empty." stderr)" = "$expected" ] || fail "texture of $file"
  done
  if [ "$oversized" = yes ]; then
    grep -q '^transp.bmp: 20000 x 4 is larger than the driver' stderr || fail "the wide cut-out unnamed"
  fi

  window=$(xdotool search --onlyvisible --name '^Quibbix$' | head -n 1)
  if [ -z "$window" ] || ! kill -0 "$pid" 2>/dev/null; then
    fail "the program is not running after start-up"; cat stderr; wait_for_end; continue
  fi
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  heard_something && fail "a sound played before any jump"
  xdotool key --window "$window" space
  sleep 0.3
  xdotool key --window "$window" space
  if [ "$sound" = intact ]; then
    for _ in $(seq 50); do heard_something && break; sleep 0.1; done
    heard_something || fail "the jump played no sound"
  elif [ "$sound" = truncated ]; then
    sleep 1
    if heard_something; then
      [ "$(grep -c '^Sound "explode.wav" is not played' stderr)" = 0 ] || fail "played and refused"
    else
      [ "$(grep -c '^Sound "explode.wav" is not played' stderr)" = 1 ] || fail "neither played nor refused"
    fi
  else
    sleep 1
    heard_something && fail "a $sound sound played"
    [ "$(grep -c '^Sound "explode.wav" is not played' stderr)" = 1 ] || fail "no single line for the $sound sound"
    case $sound in
      missing) reason="No such file or directory" ;;
      pipe) reason="not a regular file" ;;
      *) reason="" ;;
    esac
    grep -q "^Sound \"explode.wav\" is not played: explode.wav: $reason" stderr || fail "no reason for the $sound sound"
  fi
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the jump"
  # The program is gone before the key's release reaches it.
  xdotool key --window "$window" q 2>/dev/null
  wait_for_end
  [ "$status" = 0 ] || { fail "q: status $status"; cat stderr; }
done

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "broken files test passed: 7 runs"
