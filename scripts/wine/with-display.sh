#!/usr/bin/env bash
# Runs a command with one virtual X server and one persistent wineserver for
# its whole length, both stopped afterwards.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

# The prefix first: preparing it needs no X server and must not meet the
# persistent wineserver and desktop started below.
"$(dirname "$0")/wine-prefix.sh"

display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do
  xdpyinfo -display "$display" >/dev/null 2>&1 && break
  sleep 0.1
done
wineserver -w
wineserver -p
# Wine's own services and the virtual desktop start with the first program
# and outlive it; started here, they hold no pipe of the command below open
# (ctest would wait for them).
wine wineboot >/dev/null 2>&1
wine explorer /desktop=Default,1024x768 >/dev/null 2>&1 &
"$@"
