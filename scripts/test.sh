#!/usr/bin/env bash
# Builds every build and runs every test: the native core tests, the same
# under the sanitizers, a short run of every fuzz target, then the
# cross-built tests under Wine inside a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
# With the core tests, the checks of the sample library (tests/CMakeLists.txt).
ctest --preset native -j "$jobs"

# The same core tests and tools under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

# Every fuzz target for a short while (make fuzz runs them for ten minutes).
FUZZ_SECONDS=30 scripts/fuzz.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

source scripts/wine-env.sh
scripts/wine-prefix.sh
scripts/with-display.sh ctest --preset windows
