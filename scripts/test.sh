#!/usr/bin/env bash
# Builds both builds and runs every test: the native core tests, then the
# cross-built tests under Wine inside a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

source scripts/wine-env.sh
scripts/wine-prefix.sh
scripts/with-display.sh ctest --preset windows
