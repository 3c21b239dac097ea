#!/usr/bin/env bash
# The two edit-box modes typed through a real Japanese input method: uim's
# XIM bridge with Anthy runs beside the program under Wine, and xdotool types
# romaji keys that the input method turns into kana (and, with the convert
# key, into kanji). Each screen is then compared with the same answers
# committed through the clipboard, the way the program has always been
# tested: the question rows and counters must look the same. Runs inside
# with-display.sh; skips (exit 77) only when the input method cannot start.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
source "$repo/scripts/wine/x-waits.sh"
out="${KANAFLOW_IME_OUT:-$repo/build/ime-session}"
rm -rf "$out" && mkdir -p "$out/shots"

skip() { echo "ime-session: SKIPPED: $*" >&2; exit 77; }
command -v uim-xim >/dev/null || skip "uim-xim is not installed (apt-get install uim-xim uim-anthy)"
[ -f /usr/share/uim/anthy.scm ] || skip "uim-anthy is not installed"
locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8' || skip "the locale ja_JP.UTF-8 is not generated"
export LC_ALL=ja_JP.UTF-8

# A working folder of its own: the sample's settings without music and window
# shaking (a shaking window would move under the screenshots) and one set
# whose second question needs kana-kanji conversion.
work="$out/work"
mkdir -p "$work/data"
cp -r "$repo/sample/media" "$work/"
sed -e 's/^DisablePlayMusic=.*/DisablePlayMusic=1\r/' -e 's/^DisableWindowVibration=.*/DisableWindowVibration=1\r/' \
  "$repo/sample/Setting.ini" >"$work/Setting.ini"
cp_932() { iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$1"; }
cp_932 "$work/data/ime.ini" <<'EOF'
[TypingQuesitonSetup]
Version=5
QuestionNumber=3
QuestionFileName=#ime.txt
Title=入力メソッド
RandomQuestionSet=0
TypeSoundFileName=./media/type.wav
MissTypeSoundFileName=./media/miss.wav
EndSoundFileName=./media/end.wav
BackGroundPictureFileName=./media/background.bmp
WindowBackColor=0xFFFFFF
WindowStringColor=0x402010
NextTypeKeyColor=0x3030E0
EOF
cp_932 "$work/data/ime.txt" <<'EOF'
かきくけこ
かきくけこ
日本
にほん
さしすせそ
さしすせそ
EOF

# The input method, with a home of its own so that Anthy starts from its
# dictionary's first candidates and learns nothing between runs.
imhome="$out/im-home"
mkdir -p "$imhome"
echo "(define default-im-name 'anthy)" >"$imhome/.uim"
HOME="$imhome" uim-xim --engine=anthy >"$out/uim-xim.log" 2>&1 &
im=$!
trap 'kill "$im" 2>/dev/null || true' EXIT
wait_for_input_method uim ||
  skip "uim-xim did not register as an input method server (see $out/uim-xim.log)"

keys() { xdotool key --delay 60 "$@"; }
shot() { sleep 0.5; import -window root -crop 640x300+0+0 +repage "$out/shots/$1.png"; }
paste() {
  printf '%s' "$1" | xclip -selection clipboard >/dev/null 2>&1
  sleep 0.2
  keys ctrl+v
}
# One answer, through the input method (romaji, the convert key when asked,
# Return to commit) or pasted as the committed text; then Return confirms.
answer() {
  local how=$1 romaji=$2 convert=$3 committed=$4
  if [ "$how" = ime ]; then
    xdotool type --delay 70 "$romaji"
    [ "$convert" = yes ] && { sleep 0.2; keys space; }
    sleep 0.2
    keys Return
  else
    paste "$committed"
  fi
  sleep 0.3
}

# From the main menu's current entry moved down by one: the set, the
# countdown, then three steps shot as <how>-<mode>-<n>.
play_mode() {
  local how=$1 mode=$2 convert=no
  [ "$mode" = kanji ] && convert=yes
  keys Down Return
  sleep 1.5
  keys Return
  sleep 3.8
  shot "$how-$mode-0"
  # The input method starts off in a new input field: its own on-key.
  [ "$how" = ime ] && keys shift+space
  answer "$how" kakikukeko no かきくけこ; keys Return
  answer "$how" nihon "$convert" "$([ "$mode" = kanji ] && echo 日本 || echo にほん)"; keys Return
  shot "$how-$mode-1"
  answer "$how" sa no さ
  answer "$how" ta no た
  shot "$how-$mode-2"
  keys F5
  sleep 1.5
}

session() {
  local how=$1
  (
    cd "$work"
    if [ "$how" = ime ]; then export XMODIFIERS=@im=uim; else unset XMODIFIERS; fi
    exec wine "$KANAFLOW_EXE" >/dev/null 2>&1
  ) &
  local program=$! desktop=""
  desktop=$(window_named "Kanaflow Version") || { echo "ime-session: the program did not open a window" >&2; exit 1; }
  sleep 1.5
  play_mode "$how" hiragana
  play_mode "$how" kanji
  keys Down Down Return # 終了
  for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$program" 2>/dev/null && { echo "ime-session: the program did not end" >&2; exit 1; }
  wait "$program" || true
}

session ime
session paste

# The question rows and counters (not the edit box with its blinking caret,
# nor the time and points) of one shot.
judged() { convert "$out/shots/$1.png" -crop 500x200+0+62 +repage "$out/shots/$1-judged.png"; }
misses() { convert "$out/shots/$1.png" -crop 220x22+200+240 +repage "$out/shots/$1-misses.png"; }
same() { [ "$(compare -metric AE "$out/shots/$1.png" "$out/shots/$2.png" null: 2>&1)" = 0 ]; }
failed=0
fail() { echo "ime-session: $*" >&2; failed=1; }
for mode in hiragana kanji; do
  for step in 0 1 2; do
    judged "ime-$mode-$step"; judged "paste-$mode-$step"; misses "ime-$mode-$step"
    same "ime-$mode-$step-judged" "paste-$mode-$step-judged" ||
      fail "$mode mode, step $step: typed through the input method, the screen differs from the committed text's"
  done
  # Kana typed right count no miss; one wrong kana changes the count.
  same "ime-$mode-0-misses" "ime-$mode-1-misses" || fail "$mode mode: right answers typed through the input method counted misses"
  same "ime-$mode-1-misses" "ime-$mode-2-misses" && fail "$mode mode: a wrong kana typed through the input method counted no miss"
done
[ "$failed" -eq 0 ] || { echo "ime-session: screenshots in $out/shots" >&2; exit 1; }
echo "ime-session: both edit-box modes typed through uim-xim and Anthy were judged as the committed text"
