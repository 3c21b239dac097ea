#!/usr/bin/env bash
# Builds Kanaflow and starts it in sample/, the working folder that ships.
# With a display it runs there under Wine. Without one it runs in a virtual X
# server, plays a scripted session through every screen and saves a
# screenshot of each, checking that each screen equals a whole repaint.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target kanaflow repaint_check -j "$(nproc)"
source scripts/wine-env.sh
scripts/wine-prefix.sh
exe="$PWD/build/windows/kanaflow.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd sample && exec wine "$exe"
fi

shots="$PWD/build/run-screenshots"
rm -rf "$shots" && mkdir -p "$shots"
export KANAFLOW_EXE="$exe" KANAFLOW_SHOTS="$shots"
export KANAFLOW_REPAINT_CHECK="$PWD/build/windows/tests/win32/repaint_check.exe"
scripts/with-display.sh scripts/scripted-session.sh
echo "Screenshots of every screen: build/run-screenshots/"
