#!/usr/bin/env bash
# Fuzzes the BMP decoder for SECONDS (default 60) in a clang build in
# build-fuzz/, seeded with the test corpus and the saved crash inputs. Exits
# non-zero when the fuzzer finds a crash, leak or hang; the input is then in
# build-fuzz/artifacts/, to be saved under fuzz/crashes/ with the fix.
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null; then
  echo "fuzz/run.sh: clang++ not found, fuzzing skipped"
  exit 0
fi

cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIBBIX_TESTS=OFF -DQUIBBIX_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target dib_fuzzer -j2

mkdir -p build-fuzz/corpus build-fuzz/artifacts
seeds=(tests/image/bmpsuite/good tests/image/bmpsuite/bad)
[ -d fuzz/crashes ] && seeds+=(fuzz/crashes)
# The first folder collects what the fuzzer finds; the others only seed it.
build-fuzz/dib_fuzzer -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -dict=fuzz/bmp.dict -artifact_prefix=build-fuzz/artifacts/ -print_final_stats=1 \
  build-fuzz/corpus "${seeds[@]}"
