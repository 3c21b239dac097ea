#!/usr/bin/env bash
# Builds Kanaflow and starts it in sample/, the working folder that ships.
# With a display it runs there under Wine. Without one it runs in a virtual X
# server, plays a scripted session through every screen and saves a
# screenshot of each, checking that each screen equals a whole repaint.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target kanaflow repaint_check -j "$(nproc)"
source scripts/wine/wine-env.sh
source scripts/wine/x-waits.sh
scripts/wine/wine-prefix.sh
exe="$PWD/build/windows/kanaflow.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd sample
  # The edit-box modes are typed through a Japanese input method. A desktop
  # that runs its own (XMODIFIERS set, or an input method server registered
  # on the display) is left as it is; otherwise uim's XIM bridge with Anthy
  # runs for as long as the program does. Shift+Space switches it on.
  if [ -z "${XMODIFIERS:-}" ] && ! input_method_registered &&
    command -v uim-xim >/dev/null && locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    export LC_ALL=ja_JP.UTF-8
    uim-xim --engine=anthy >/dev/null 2>&1 &
    im=$!
    trap 'kill "$im" 2>/dev/null || true' EXIT
    wait_for_input_method uim || true
    export XMODIFIERS=@im=uim
    echo "Input method: uim with Anthy; press Shift+Space in the edit box to type kana."
    wine "$exe"
    exit
  fi
  exec wine "$exe"
fi

shots="$PWD/build/run-screenshots"
rm -rf "$shots" && mkdir -p "$shots"
export KANAFLOW_EXE="$exe" KANAFLOW_SHOTS="$shots"
export KANAFLOW_REPAINT_CHECK="$PWD/build/windows/tests/win32/repaint_check.exe"
scripts/wine/with-display.sh tests/program/scripted-session.sh
echo "Screenshots of every screen: build/run-screenshots/"
