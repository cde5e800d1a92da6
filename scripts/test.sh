#!/usr/bin/env bash
# Builds M-R3X Master with warnings as errors and runs every test (offscreen, no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset ci
cmake --build --preset ci -j2
ctest --preset ci
