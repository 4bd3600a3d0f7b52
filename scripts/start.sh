#!/usr/bin/env bash
# Builds Quibbix and starts it from build/assets/, the folder with its pictures and sound.
# Only the program and its files are built here, so that the window comes soon
# on a fresh clone; the tests and benchmarks are built by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)" --target quibbix quibbix_assets
mkdir -p build/assets
cd build/assets
exec ../quibbix
