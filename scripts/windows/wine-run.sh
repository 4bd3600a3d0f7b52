#!/usr/bin/env bash
# Runs a Windows program under Wine in build-windows' own Wine prefix, ended
# after QUIBBIX_WINE_TIMEOUT seconds (default 300). CMake's emulator for the
# cross build, so ctest runs the Windows tests through it.
set -u
out=$(cd "$(dirname "$0")/../.." && pwd)/build-windows
export WINEPREFIX=${WINEPREFIX:-$out/wine} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The libraries sit beside the programs; tests in tests/ find them on the path.
export WINEPATH=${WINEPATH:-$out}
exec timeout -k 10 "${QUIBBIX_WINE_TIMEOUT:-300}" wine "$@"
