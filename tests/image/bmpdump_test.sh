#!/usr/bin/env bash
# quibbix-bmpdump writes each good corpus file as its expected PPM, and for a
# file it cannot decode prints the loader's message and exits 1.
set -u
tool=$1
corpus=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

compared=0
for expected in "$corpus"/expected/*.ppm; do
  name=$(basename "$expected" .ppm)
  if ! "$tool" "$corpus/good/$name.bmp" >"$out/$name.ppm" 2>"$out/err"; then
    fail "$name: exit status $?: $(cat "$out/err")"
  elif ! cmp -s "$out/$name.ppm" "$expected"; then
    fail "$name: picture differs"
  fi
  compared=$((compared + 1))
done
[ "$compared" -eq 25 ] || fail "compared $compared pictures, not 25"

check_refusal() {
  local file=$1 message=$2
  timeout 3 "$tool" "$file" >"$out/stdout" 2>"$out/err"
  local status=$?
  [ "$status" -eq 1 ] || fail "$file: exit status $status, not 1"
  [ ! -s "$out/stdout" ] || fail "$file: wrote a picture"
  grep -qF "$message" "$out/err" || fail "$file: stderr lacks '$message': $(cat "$out/err")"
}
check_refusal "$corpus/good/pal8v4.bmp" "Unknown DIB file format."
check_refusal "$corpus/bad/shortfile.bmp" "Image file conversion error."
check_refusal "$out/none.bmp" "Failed to open DIB file $out/none.bmp."
grep -qx "$out/none.bmp: No such file or directory" "$out/err" || fail "no reason for a missing file"
# A pipe with no writer and a device are refused at once, not waited on or
# read for ever (timeout's status 124 would show a hang).
mkfifo "$out/pipe.bmp"
for special in "$out/pipe.bmp" /dev/zero; do
  check_refusal "$special" "$special: not a regular file"
done

[ "$failures" -eq 0 ] || exit 1
echo "bmpdump test passed"
