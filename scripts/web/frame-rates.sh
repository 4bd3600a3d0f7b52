#!/usr/bin/env bash
# Frames per second at 10, 500 and 1500 hamsters: the page in headless
# Chromium (tests/web/frame_rate.mjs) beside the desktop program under Xvfb
# (`quibbix --fps`, + typed with xdotool). Arguments: the Linux build folder
# (default build) and the seconds each count is measured (default 10). Needs
# build-web/ (scripts/web/build.sh) and the page checks' modules (npm ci in
# tests/web). The figures are in bench/README.md.
set -euo pipefail
cd "$(dirname "$0")/../.."
linux=$(realpath "${1:-build}")
seconds=${2:-10}
counts=(10 500 1500)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== browser (headless Chromium, SwiftShader)"
node tests/web/frame_rate.mjs build-web "$work" "$seconds" "${counts[@]}"

echo "== desktop (quibbix --fps under Xvfb)"
# The program prints a line every five seconds; after each change of count the
# second line covers five seconds at the new count alone.
cat >"$work/desktop.sh" <<'EOF'
set -euo pipefail
program=$1
shift
SDL_AUDIODRIVER=dummy "$program" --fps >"$work/fps.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n 1)
now=10
for count in "$@"; do
  while [ "$now" -lt "$count" ]; do
    xdotool key --window "$window" plus 2>/dev/null
    now=$((now + 10))
  done
  lines=$(wc -l <"$work/fps.log")
  while [ "$(wc -l <"$work/fps.log")" -lt $((lines + 2)) ]; do sleep 0.5; done
  echo "$count hamsters: $(tail -n 1 "$work/fps.log")"
done
EOF
work=$work xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/desktop.sh" "$linux/quibbix" "${counts[@]}"
