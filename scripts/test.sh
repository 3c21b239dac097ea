#!/usr/bin/env bash
# Builds every build and runs every test: the native core tests, the same
# under the sanitizers, a short run of every fuzz target, then the
# cross-built tests under Wine inside a virtual X server. Each build is a
# CMake workflow preset (configure, build, test): CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

# With the core tests: the checks of the sample library and of the folders'
# floors (tests/CMakeLists.txt).
CTEST_PARALLEL_LEVEL="$jobs" cmake --workflow --preset native
# The same core tests and tools under AddressSanitizer and UndefinedBehaviorSanitizer.
CTEST_PARALLEL_LEVEL="$jobs" cmake --workflow --preset asan

# Every fuzz target for a short while (make fuzz runs them for ten minutes).
FUZZ_SECONDS=30 scripts/fuzz.sh

# The Windows build's tests run under Wine, which needs its prefix and a
# display; one at a time, as the screen tests share the one desktop.
source scripts/wine/wine-env.sh
scripts/wine/wine-prefix.sh
scripts/wine/with-display.sh cmake --workflow --preset windows
