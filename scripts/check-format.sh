#!/usr/bin/env bash
# Checks that every C++ source of the project is formatted as .clang-format
# says, with Debian's clang-format; names each file that differs and exits 1.
# Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=${CLANG_FORMAT:-clang-format}
command -v "$formatter" >/dev/null || { echo "check-format: $formatter not found"; exit 1; }

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' files < <(git ls-files -z -- '*.h' '*.cpp')
else
  mapfile -d '' files < <(find . -path ./build\* -prune -o \( -name '*.h' -o -name '*.cpp' \) -print0)
fi

differ=()
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  if ! "$formatter" --style=file "$file" | cmp -s - "$file"; then differ+=("$file"); fi
done
if [ ${#differ[@]} -gt 0 ]; then
  echo "Not formatted as .clang-format says ($("$formatter" --version)):"
  printf '  %s\n' "${differ[@]}"
  exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format says."
