#!/usr/bin/env bash
# scripts/check-structure.sh passes on the tree, and on a tree with planted
# faults fails and names each one.
set -uo pipefail
source_dir=$1
check=$source_dir/scripts/check-structure.sh
fail() {
  echo "FAIL: $*"
  exit 1
}

"$check" "$source_dir" || fail "the tree breaks its own structure"

planted=$(mktemp -d)
trap 'rm -rf "$planted"' EXIT
mkdir -p "$planted"/{platform,scene,sim,image,render,app,tools}
printf '#include "app/input.h"\n' >"$planted/platform/clock.h"
printf '#include <vector>\n#include "sim/hamster.h"\n' >"$planted/image/textures.cpp"
printf '#include "render/scene_draw.h"\n#include "scene/scene_state.h"\n' >"$planted/sim/frame_step.h"
printf 'void f() {\nagain:\n  goto again;\n}\n' >"$planted/sim/loop.cpp"
seq 401 | sed 's|^|// |' >"$planted/render/long.cpp"
printf '#include "app/input.h"\n#include "app/scenario.h"\n' >"$planted/tools/ok.cpp"
seq 500 | sed 's|^|// |' >"$planted/tools/long_tool.cpp"

out=$("$check" "$planted") && fail "planted faults passed"
for expected in "platform/clock.h:1: platform includes from app/" \
  "image/textures.cpp:2: image includes from sim/" "sim/frame_step.h:1: sim includes from render/" \
  "sim/loop.cpp:3: goto in sim/" "render/long.cpp: 401 lines, more than 400" "5 structure fault(s)"; do
  grep -qxF "$expected" <<<"$out" || fail "not reported: $expected; got:
$out"
done
echo "PASS"
