#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only those
# that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make libgtest-dev googletest libbenchmark-dev
  mingw-w64 wine wine64 xvfb xauth x11-utils xdotool xclip imagemagick sox zip fonts-ipafont-gothic
  clang libclang-rt-14-dev llvm
  locales uim-xim uim-anthy
  kakasi mecab mecab-ipadic-utf8
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Japanese locale that an input method over XIM needs in the program.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
  echo "Generating the locale ja_JP.UTF-8"
  "${sudo_cmd[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
