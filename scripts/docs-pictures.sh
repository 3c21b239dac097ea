#!/usr/bin/env bash
# The README's pictures are screens of the scripted session (the program
# itself, played), so they cannot drift from what the program shows.
#   docs-pictures.sh check [SHOTS]  each picture in docs/ against the session's
#                                   screen; fails when more than 1% of its
#                                   pixels differ (the clock's value moves)
#   docs-pictures.sh write [SHOTS]  copies the session's screens into docs/
# SHOTS is the session's screenshot folder: build/windows/session-screenshots
# after the Windows tests, build/run-screenshots after make run without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
action="${1:-check}"
shots="${2:-build/windows/session-screenshots}"
pictures=(
  "01-main-menu-window.png main-menu.png"
  "05-basic-running-window.png basic-practice.png"
  "07-edit-hiragana-running-window.png edit-box-practice.png"
)

differing_share() {  # picture, screen -> per mille of pixels that differ
  local pixels differing
  [ "$(identify -format '%wx%h' "$1")" = "$(identify -format '%wx%h' "$2")" ] || { echo 1000; return; }
  pixels=$(identify -format '%[fx:w*h]' "$1")
  differing=$(compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 >/dev/null || true)
  [[ "$differing" =~ ^[0-9.e+]+$ ]] || { echo 1000; return; }
  awk -v d="$differing" -v p="$pixels" 'BEGIN { printf "%d\n", d * 1000 / p }'
}

failed=0
for pair in "${pictures[@]}"; do
  read -r screen picture <<<"$pair"
  [ -f "$shots/$screen" ] || { echo "docs-pictures: $shots/$screen is missing (play the session first)" >&2; exit 1; }
  case "$action" in
    write)
      convert "$shots/$screen" -strip "docs/$picture"
      echo "docs/$picture written from $screen" ;;
    check)
      share=$(differing_share "docs/$picture" "$shots/$screen")
      if [ "$share" -gt 10 ]; then
        echo "docs-pictures: docs/$picture differs from the session's $screen in $share per mille of its pixels;" \
             "scripts/docs-pictures.sh write $shots updates it" >&2
        failed=1
      else
        echo "docs/$picture matches $screen ($share per mille differ)"
      fi ;;
    *) echo "usage: docs-pictures.sh check|write [SHOTS]" >&2; exit 2 ;;
  esac
done
exit "$failed"
