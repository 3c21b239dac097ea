#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only those
# that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make libgtest-dev googletest libbenchmark-dev
  mingw-w64 wine wine64 xvfb xauth x11-utils xdotool xclip imagemagick sox zip fonts-ipafont-gothic
  clang libclang-rt-14-dev llvm
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
