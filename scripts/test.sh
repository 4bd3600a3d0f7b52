#!/usr/bin/env bash
# Checks the formatting, builds Quibbix with warnings as errors and runs every
# test: once in a normal build and once under AddressSanitizer and
# UndefinedBehaviorSanitizer, the relaxation's tests once more in its portable
# form, the tests again built by clang, the replay in an optimised build, then
# the BMP fuzzer for a bounded time, the browser build against the Linux one.
# Starts a virtual display when none is set.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# -noreset: the server would otherwise reset whenever its last client left and
# refuse the next test's window for that moment.
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" "$0" "$@"; fi

scripts/check-format.sh

jobs=$(nproc)
cmake -S . -B build -DQUIBBIX_WERROR=ON
cmake --build build -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUIBBIX_SANITIZE=ON -DQUIBBIX_WERROR=ON
cmake --build build-asan -j"$jobs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"

# The soak (about half a minute) runs in the normal build only: under the
# sanitizers it would take many times as long and find nothing new.
(cd build && ctest --output-on-failure -j"$jobs")
(cd build-asan && ctest --output-on-failure -j"$jobs" -LE soak)

# The contact relaxation's plain forms instead of its SSE2 ones, once: the
# relaxation tests and the replay hashes must come out the same.
cmake -S . -B build-portable -DQUIBBIX_PORTABLE_RELAXATION=ON -DQUIBBIX_BENCHMARKS=OFF \
  -DQUIBBIX_WERROR=ON
cmake --build build-portable -j"$jobs" --target sim_tests replay_tests
(cd build-portable &&
  ctest --output-on-failure -j"$jobs" -R '^(Separate|Relaxation|FastRelaxation|ReplayDeterminism)[.]')

# The other compilers we ship with: clang (the browser's compiler is clang too)
# runs the tests but the soak; an optimised GCC build (-O3) must build without a
# warning and replay to the same bits.
CC=clang CXX=clang++ cmake -S . -B build-clang -DQUIBBIX_WERROR=ON -DQUIBBIX_BENCHMARKS=OFF
cmake --build build-clang -j"$jobs"
(cd build-clang && ctest --output-on-failure -j"$jobs" -LE soak)
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUIBBIX_WERROR=ON
cmake --build build-release -j"$jobs"
(cd build-release && ctest --output-on-failure -j"$jobs" -R '^ReplayDeterminism[.]')

if [ -x fuzz/run.sh ]; then fuzz/run.sh 60; fi

# The browser build: its replay under node against the Linux one, and the page
# in headless Chromium, where Emscripten and Chromium are installed.
if command -v emcc >/dev/null && command -v chromium >/dev/null; then
  web_start=$(date +%s)
  QUIBBIX_JOBS=$jobs QUIBBIX_HOST_ASSETGEN=$PWD/build/quibbix-assetgen scripts/web/build.sh
  scripts/web/checks.sh build
  echo "Browser build and checks: $(($(date +%s) - web_start)) s"
fi

# The Windows build under Wine, where the cross compiler and Wine are installed.
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then
  windows_start=$(date +%s)
  QUIBBIX_JOBS=$jobs QUIBBIX_HOST_ASSETGEN=$PWD/build/quibbix-assetgen scripts/windows/build.sh
  scripts/windows/wine-checks.sh build
  echo "Windows build and checks: $(($(date +%s) - windows_start)) s"
fi
echo "All tests passed."
