#!/usr/bin/env bash
# quibbix-replay loads no window, audio or picture library: the libraries it
# names are the C and C++ runtimes only (and the sanitizers' in such a build),
# so that a replay starts without the loader resolving GL, X or SDL.
set -uo pipefail
replay=$1
needed=$(objdump -p "$replay" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$needed" ] || { echo "FAIL: no libraries read from $replay"; exit 1; }
unexpected=$(grep -Ev '^lib(stdc\+\+|m|gcc_s|c|asan|ubsan)\.so\.[0-9]+$' <<<"$needed")
if [ -n "$unexpected" ]; then
  echo "FAIL: $replay names libraries it does not need:"
  echo "$unexpected"
  exit 1
fi
echo "PASS: $(tr '\n' ' ' <<<"$needed")"
