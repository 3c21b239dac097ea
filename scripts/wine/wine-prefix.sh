#!/usr/bin/env bash
# Prepares the Wine prefix once: a new prefix, Debian's IPA Gothic in place
# of the Japanese Windows fonts that the program's texts ask for, and one
# virtual desktop that every window opens in (top-level X windows would make
# each new window wait for a window manager that the virtual X server lacks).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

stamp="$WINEPREFIX/.kanaflow-ready-4"
[ -f "$stamp" ] && exit 0

mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
# The proportional faces take IPA P Gothic (so dialog labels fit as they
# would on Windows), the fixed-pitch one IPA Gothic.
for face in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "MS PGothic"; do
  wine reg add "$substitutes" /v "$face" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
done
wine reg add "$substitutes" /v "MS Gothic" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1
# A Japanese input method over XIM draws its unfinished text itself, as the
# Windows IME does beside an edit box: the box receives only the committed
# text. (Wine's default style writes the unfinished romaji into the box, where
# every half-typed syllable would be judged a miss.)
wine reg add 'HKCU\Software\Wine\X11 Driver' /v InputStyle /t REG_SZ /d overthespot /f >/dev/null 2>&1
# Let the set-up's wineserver finish, so the next one starts fresh with the
# registry written.
wineserver -w
touch "$stamp"
