#!/usr/bin/env bash
# Makes the main menu's preview pictures from screenshots of our own screens,
# which the screen tests save (make test): each screen reduced to the size of
# its panel's picture, as a 24-bit bitmap resource. The results are committed.
set -euo pipefail
cd "$(dirname "$0")/.."
shots="${1:-build/windows/screenshots}"
out=src/resources/previews
mkdir -p "$out"

make_preview() {  # screenshot, size, bitmap
  [ -f "$shots/$1" ] || { echo "make-previews: $shots/$1 is missing (run make test first)" >&2; exit 1; }
  convert "$shots/$1" -resize "$2!" -type TrueColor "BMP3:$out/$3"
}
make_preview setup-dialog.png 82x41 setup_dialog.bmp
make_preview basic-running-shift-marked.png 80x60 basic_practice.bmp
make_preview edit-running-hiragana.png 80x38 edit_hiragana.bmp
make_preview edit-running-kanji.png 80x38 edit_kanji.bmp
echo "previews written to $out"
