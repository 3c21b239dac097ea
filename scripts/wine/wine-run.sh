#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix (ctest uses this
# as the emulator of the cross build).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
"$(dirname "$0")/wine-prefix.sh"
exec wine "$@"
