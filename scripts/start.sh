#!/usr/bin/env bash
# Builds Quibbix and starts it from build/assets/, the folder with its pictures and sound.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
mkdir -p build/assets
cd build/assets
exec ../quibbix
