#!/usr/bin/env bash
# Checks the Windows build under Wine against the Linux build: the unit tests,
# quibbix-replay, quibbix-bmpdump, the asset generator and quibbix-shot byte
# for byte; the program's resources and the archive's texts; the program from
# the release archive in a window; the installer, installing and uninstalling
# silently. Argument:
# the Linux build folder (default build). Needs an X display (scripts/test.sh
# provides one). Each step is bounded in time and a failure names its step.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
top=$PWD
linux=$(realpath "${1:-build}")
out=$top/build-windows
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH=$out
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  WINEPREFIX=$out/wine timeout 20 wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
fail() {
  echo "windows check failed: $current: $*" >&2
  failed=$((failed + 1))
}
begin() {
  current=$1
  echo "== wine: $current"
  started=$(date +%s)
}
done_step() { echo "   $current: $(($(date +%s) - started)) s"; }

# Runs a Windows program in the current folder, ended after $1 seconds.
wine_run() {
  local limit=$1
  shift
  timeout -k 5 "$limit" wine "$@"
}

begin "wine prefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  timeout -k 10 300 wineboot --init >"$work/wineboot.log" 2>&1 ||
    { fail "wineboot did not finish in 300 s: $(tail -5 "$work/wineboot.log")"; exit 1; }
fi
# One server for all the steps, so each program starts in a fraction of a
# second. Wine's own services start with it here, apart from any test's output:
# started by a test they would keep its pipes open and ctest would wait for them.
wineserver -p 600 &
server=$!
timeout -k 10 120 wineboot </dev/null >/dev/null 2>&1 || { fail "Wine did not start in 120 s"; exit 1; }
done_step

begin "unit tests"
(cd "$out" && QUIBBIX_WINE_TIMEOUT=300 timeout -k 10 900 ctest --output-on-failure -LE soak) \
  >"$work/ctest.log" 2>&1 || fail "$(tail -40 "$work/ctest.log")"
grep -E 'tests passed|tests failed' "$work/ctest.log" | sed 's/^/   /'
done_step

begin "replay"
# The committed determinism scenarios of tests/replay, and a few more.
# Each entry is {"name", "arguments" "continued", hash}: the literals after the name.
scenarios=()
while IFS= read -r entry; do
  arguments=$(grep -o '"[^"]*"' <<<"$entry" | tail -n +2 | tr -d '"\n')
  [ -n "$arguments" ] && scenarios+=("$arguments")
done < <(sed -n '/^const Scenario kScenarios\[\] = {/,/^};/p' tests/replay/replay_test.cpp |
  tr '\n' ' ' | sed 's/ull},/\n/g')
[ ${#scenarios[@]} -ge 5 ] || fail "found ${#scenarios[@]} scenarios in tests/replay/replay_test.cpp"
scenarios+=(
  "--seed 7 --frames 0"
  "--seed 11 --frames 400 --count 300 --frame-ms 16,40,3 --events 50:space,200:click,300:space"
  "--seed 2 --frames 150 --count 100 --frame-ms 16,33,8 --events 10:space,40:click --reference"
)
for arguments in "${scenarios[@]}"; do
  # shellcheck disable=SC2086
  "$linux/quibbix-replay" $arguments >"$work/linux.txt" 2>&1
  linux_status=$?
  # shellcheck disable=SC2086
  (cd "$out" && wine_run 60 ./quibbix-replay.exe $arguments) >"$work/windows.txt" 2>&1
  windows_status=$?
  if [ "$linux_status" -ne "$windows_status" ]; then
    fail "$arguments: status $windows_status, Linux $linux_status"
  elif ! cmp -s "$work/linux.txt" "$work/windows.txt"; then
    fail "$arguments: output differs: $(diff "$work/linux.txt" "$work/windows.txt" | head -4)"
  fi
done
echo "   ${#scenarios[@]} scenarios compared"
done_step

begin "bmpdump"
count=0
for file in tests/image/bmpsuite/good/*.bmp tests/image/bmpsuite/bad/*.bmp "$work/none.bmp"; do
  "$linux/quibbix-bmpdump" "$file" >"$work/linux.out" 2>"$work/linux.err"
  linux_status=$?
  wine_run 60 "$out/quibbix-bmpdump.exe" "$file" >"$work/windows.out" 2>"$work/windows.err"
  windows_status=$?
  # Wine on a loaded machine now and then fails a start of its own (seen once
  # in about a thousand starts, status 1 for a file that decodes): a differing
  # status is asked once more before it counts.
  if [ "$linux_status" -ne "$windows_status" ]; then
    wine_run 60 "$out/quibbix-bmpdump.exe" "$file" >"$work/windows.out" 2>"$work/windows.err"
    windows_status=$?
  fi
  if [ "$linux_status" -ne "$windows_status" ]; then
    fail "$file: status $windows_status, Linux $linux_status: $(head -c 300 "$work/windows.err")"
  elif ! cmp -s "$work/linux.out" "$work/windows.out" || ! cmp -s "$work/linux.err" "$work/windows.err"; then
    fail "$file: output differs: $(diff "$work/linux.err" "$work/windows.err" | head -4)"
  fi
  count=$((count + 1))
done
echo "   $count files compared"
done_step

begin "asset generator"
# The Windows generator makes the very bytes the build took from this machine's.
mkdir -p "$work/assets"
wine_run 120 "$out/quibbix-assetgen.exe" "$work/assets" >"$work/assetgen.log" 2>&1 ||
  fail "status $?: $(cat "$work/assetgen.log")"
for file in boden.bmp hamster.bmp env.bmp transp.bmp explode.wav; do
  cmp -s "$work/assets/$file" "$out/assets/$file" || fail "$file differs"
done
done_step

begin "shot"
# The same frames drawn through Wine's OpenGL into Mesa: the same pixels. The
# files themselves are compared first, the decoded pixels where they differ.
cp "$out"/assets/* "$work/"
for arguments in "--seed 7 --frames 50 --count 100" "--seed 3 --frames 60 --count 500 --events 40:space"; do
  # shellcheck disable=SC2086
  (cd "$work" && "$linux/quibbix-shot" $arguments --out linux.png) >"$work/shot.log" 2>&1 ||
    fail "Linux quibbix-shot $arguments: $(cat "$work/shot.log")"
  # shellcheck disable=SC2086
  (cd "$work" && wine_run 120 "$out/quibbix-shot.exe" $arguments --out windows.png) \
    >"$work/shot.log" 2>&1 || fail "quibbix-shot.exe $arguments: $(tail -5 "$work/shot.log")"
  if ! cmp -s "$work/linux.png" "$work/windows.png" &&
    ! cmp -s <(convert "$work/linux.png" rgb:-) <(convert "$work/windows.png" rgb:-); then
    fail "$arguments: the pictures differ"
  fi
done
done_step

# The program from the release archive, unzipped into a folder of its own.
unzip -q "$out"/quibbix-*-windows-x64.zip -d "$work/unzipped"
folder=$(echo "$work"/unzipped/quibbix-*)
version=${folder##*/quibbix-}
version=${version%-windows-x64}

begin "program resources"
# The icon freeglut gives its windows, at 16 to 256 pixels; the manifest; a
# version block of its own; and nothing of the threads library linked into it.
exe=$folder/quibbix.exe
resources=$(wrestool -l "$exe" 2>&1)
if grep -q "type=group_icon" <<<"$resources" && grep -q "name='GLUT_ICON'" <<<"$resources"; then
  wrestool -x --type=14 --name=GLUT_ICON "$exe" >"$work/icon.ico"
  sizes=$(icotool -l "$work/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
  [ "$sizes" = "16 24 32 48 64 128 256 " ] || fail "icon sizes: $sizes"
else
  fail "no icon resource named GLUT_ICON: $resources"
fi
manifest=$(wrestool -x --raw --type=24 --name=1 "$exe" 2>/dev/null | tr -d '\0')
for part in PerMonitorV2 Microsoft.Windows.Common-Controls '"6.0.0.0"' supportedOS asInvoker; do
  grep -qF "$part" <<<"$manifest" || fail "the manifest lacks $part"
done
block=$(wrestool -x --raw --type=16 "$exe" 2>/dev/null | strings -el)
for part in ProductName Quibbix FileDescription "$version" quibbix.exe; do
  grep -qF "$part" <<<"$block" || fail "the version block lacks $part"
done
strings -el "$exe" | grep -qi -e winpthread -e "POSIX WinThreads" && fail "winpthreads' identity is in quibbix.exe"
x86_64-w64-mingw32-objdump -p "$exe" | grep -i 'DLL Name: .*\(pthread\|libstdc\|libgcc\)' &&
  fail "quibbix.exe needs a runtime DLL"
done_step

begin "archive texts"
readme=$folder/README.txt
for part in "Quibbix $version" "extract" "Run anyway" "Settings" "playback device" "MIT licence"; do
  grep -qF "$part" "$readme" || fail "README.txt does not say \"$part\""
done
licences=(
  "Quibbix.txt:Copyright (c) 2026 the Quibbix authors"
  "freeglut.txt:Freeglut Copyright"
  "SDL2.txt:This software is provided 'as-is'"
  "SDL2_mixer.txt:This software is provided 'as-is'"
  "README-SDL.txt:Simple DirectMedia Layer"
  "winpthreads.txt:Permission is hereby granted"
)
for entry in "${licences[@]}"; do
  grep -qF "${entry#*:}" "$folder/licenses/${entry%%:*}" 2>/dev/null || fail "licenses/${entry%%:*}"
done
done_step

# Prints the id of the shown window named exactly $1, waiting up to $2
# seconds. Wine makes a window's X window again when OpenGL picks its visual,
# so only a mapped one is taken, and it is looked up again before each use.
find_window() {
  local id
  for _ in $(seq $(($2 * 4))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  return 1
}
# Waits up to $2 seconds for process $1 and leaves its status in $status.
wait_exit() {
  for _ in $(seq $(($2 * 4))); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.25
  done
  if kill -0 "$1" 2>/dev/null; then
    kill "$1"
    wait "$1"
    status=timeout
  else
    wait "$1"
    status=$?
  fi
}

begin "window"
# Started in its own folder, as a double-click does, and from another folder.
# SDL's disk driver stands in for the sound card: what the jump plays lands in
# a file.
for start in "$folder" "$work"; do
  rm -f "$work/audio.raw"
  (cd "$start" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
    exec timeout -k 5 120 wine "$folder/quibbix.exe") 2>"$work/window.err" &
  pid=$!
  if find_window Quibbix 60 >/dev/null; then
    window=$(find_window Quibbix 10)
    size=$(xwininfo -id "$window" | sed -n 's/^ *Width: \([0-9]*\)/\1/p; s/^ *Height: \([0-9]*\)/\1/p' | tr '\n' x)
    [ "$size" = "500x500x" ] || fail "client area ${size%x}, not 500x500"
    sleep 2
    [ "$(xdotool search --onlyvisible --name '^Quibbix$' | wc -l)" -eq 1 ] ||
      fail "not one shown window named Quibbix"
    xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1 &&
      fail "started in $start, an Error box appeared: $(cat "$work/window.err")"
    kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
    window=$(find_window Quibbix 10) && xdotool key --window "$window" space
    sleep 1.5
    [ "$(tr -d '\000' <"$work/audio.raw" 2>/dev/null | wc -c)" -gt 1000 ] ||
      fail "no sound reached the audio device after space: $(cat "$work/window.err")"
    window=$(find_window Quibbix 10) && xdotool key --window "$window" q
    wait_exit "$pid" 30
    [ "$status" = 0 ] || fail "q ended the program with status $status"
  else
    fail "started in $start, no window named Quibbix within 60 s: $(cat "$work/window.err")"
    kill "$pid" 2>/dev/null
  fi
done
done_step

begin "missing picture"
rm "$folder/assets/hamster.bmp"
(cd "$folder" && exec timeout -k 5 120 wine ./quibbix.exe) 2>"$work/missing.err" &
pid=$!
if box=$(find_window Error 60); then
  sleep 0.5
  xdotool key --window "$box" Return
  if find_window Quibbix 60 >/dev/null; then
    sleep 1
    window=$(find_window Quibbix 10) && xdotool key --window "$window" q
    wait_exit "$pid" 30
    [ "$status" = 0 ] || fail "q ended the program with status $status"
  else
    fail "no Quibbix window after the Error box was answered"
    kill "$pid" 2>/dev/null
  fi
  grep -q "hamster.bmp" "$work/missing.err" || fail "stderr does not name hamster.bmp: $(cat "$work/missing.err")"
else
  fail "no Error box within 60 s: $(cat "$work/missing.err")"
  kill "$pid" 2>/dev/null
fi
done_step

begin "installer"
# Installed silently into a folder of our choosing, started from elsewhere,
# uninstalled silently: nothing of it may be left. (NSIS takes /D= only
# unquoted, and Wine quotes an argument with a space in it, so the folder's
# name has none.)
setup=$(echo "$out"/quibbix-*-windows-x64-setup.exe)
installed=$work/installed
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quibbix'
listed() { wine reg query "HKLM\\$uninstall_key" >/dev/null 2>&1 || wine reg query "HKCU\\$uninstall_key" >/dev/null 2>&1; }
shortcuts() { find "$WINEPREFIX/drive_c" -name 'Quibbix.lnk' 2>/dev/null; }
wine_run 120 "$setup" /S "/D=$(winepath -w "$installed")" >"$work/setup.log" 2>&1 ||
  fail "setup status $?: $(tail -5 "$work/setup.log")"
for file in quibbix.exe uninstall.exe SDL2.dll assets/boden.bmp assets/explode.wav licenses/winpthreads.txt; do
  [ -s "$installed/$file" ] || fail "setup did not install $file"
done
listed || fail "no entry in the list of installed programs"
[ -n "$(shortcuts)" ] || fail "no Start-menu shortcut"
(cd "$work" && exec timeout -k 5 120 wine "$installed/quibbix.exe") 2>"$work/installed.err" &
pid=$!
if window=$(find_window Quibbix 60); then
  sleep 1
  xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1 &&
    fail "the installed program showed an Error box: $(cat "$work/installed.err")"
  window=$(find_window Quibbix 10) && xdotool key --window "$window" q
  wait_exit "$pid" 30
  [ "$status" = 0 ] || fail "q ended the installed program with status $status"
else
  fail "the installed program opened no window within 60 s: $(cat "$work/installed.err")"
  kill "$pid" 2>/dev/null
fi
# The uninstaller runs from a copy of itself and returns at once.
wine_run 60 "$installed/uninstall.exe" /S >"$work/uninstall.log" 2>&1 || fail "uninstall status $?"
for _ in $(seq 120); do [ -e "$installed" ] || break; sleep 0.25; done
[ -e "$installed" ] && fail "left after uninstalling: $(cd "$installed" && find . | head -5 | tr '\n' ' ')"
listed && fail "still in the list of installed programs"
[ -n "$(shortcuts)" ] && fail "the Start-menu shortcut is left"
done_step

if [ "$failed" -ne 0 ]; then
  echo "windows checks: $failed failed" >&2
  exit 1
fi
echo "windows checks passed"
