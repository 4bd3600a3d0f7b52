#!/usr/bin/env bash
# Checks the shape of the sources from outside the build, on the tree at $1
# (default: this checkout):
# - each layer includes only from itself and the layers beneath it:
#   platform, scene, then sim and image side by side, render, app, tools;
# - no source file of platform, scene, sim, image, render or app is longer
#   than 400 lines;
# - no goto in sim.
# Names every offending file and line; exits 1 when there is one.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

declare -A allowed=(
  [platform]="platform"
  [scene]="scene platform"
  [sim]="sim scene platform"
  [image]="image scene platform"
  [render]="render sim image scene platform"
  [app]="app render sim image scene platform"
  [tools]="tools app render sim image scene platform"
)
maxLines=400
faults=0
fault() {
  echo "$1"
  faults=$((faults + 1))
}

for layer in platform scene sim image render app tools; do
  [ -d "$layer" ] || continue
  while IFS= read -r -d '' file; do
    while IFS=: read -r line folder; do
      case " ${allowed[$layer]} " in
        *" $folder "*) ;;
        *) fault "$file:$line: $layer includes from $folder/" ;;
      esac
    done < <(awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*"[^\/"]+\//) {
                    folder = substr($0, RSTART, RLENGTH)
                    sub(/^[^"]*"/, "", folder)
                    print FNR ":" substr(folder, 1, length(folder) - 1)
                  }' "$file")
    if [ "$layer" != tools ]; then
      lines=$(wc -l <"$file")
      [ "$lines" -le "$maxLines" ] || fault "$file: $lines lines, more than $maxLines"
    fi
  done < <(find "$layer" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
done

if [ -d sim ]; then
  while IFS=: read -r file line _; do
    fault "$file:$line: goto in sim/"
  done < <(grep -rnw goto sim || true)
fi

if [ "$faults" -gt 0 ]; then
  echo "$faults structure fault(s)"
  exit 1
fi
echo "Structure: layers, file lengths and sim without goto as they should be."
