#!/usr/bin/env bash
# Makes the README's animation, docs/jump-500-hamsters.gif: a jump at 500
# hamsters, 40 frames drawn by quibbix-shot (the program's own simulation and
# drawing, a scripted clock of 16 ms a frame, every third frame shown, so 20
# frames a second), put together by ImageMagick with one shared palette and
# only the changed pixels stored after the first frame. The scene's turn is
# held still, which keeps the file small. Same seed, same frames.
#   scripts/make-animation.sh [OUT.gif]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi
out=${1:-docs/jump-500-hamsters.gif}

cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target quibbix-shot quibbix_assets
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
for i in $(seq 0 39); do
  build/quibbix-shot --seed 7 --count 500 --events 185:space --spin -30 --size 300x300 \
    --frames $((176 + 3 * i)) --out "$frames/$(printf %02d "$i").png"
done
convert -delay 5 -loop 0 "$frames"/*.png +dither -colors 128 +remap -fuzz 4% \
  -layers OptimizeTransparency "$frames/animation.gif"
mv "$frames/animation.gif" "$out"
echo "$out: $(stat -c %s "$out") bytes"
