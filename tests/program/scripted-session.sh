#!/usr/bin/env bash
# A session played with the keyboard through every screen of the program,
# as a user would: main menu, setup dialog, selection, the three practice
# modes from countdown to results, and the way out. Runs inside
# with-display.sh; saves a PNG of each screen in $KANAFLOW_SHOTS, and of the
# program's screen alone as NAME-window.png.
#
# At every screenshot but the countdown's, which moves by itself, what the
# screen shows must equal a whole repaint of it, the running clock's place
# left out ($KANAFLOW_REPAINT_CHECK, tests/win32/repaint_check.cpp): a change
# the program forgot to show fails the session.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine/x-waits.sh"
cd "$(dirname "$0")/../../sample"

mkdir -p "$KANAFLOW_SHOTS"
# The sample's Setting.ini keeps records: every finished run adds one line.
# The session starts from none, so that the screens are the same each time;
# records of earlier sessions are put back at the end.
kept=$(mktemp -d)
for file in Records.csv WeakKeyDrill.ini WeakKeyDrill.txt; do [ -e "$file" ] && mv "$file" "$kept/"; done
trap 'for file in "$kept"/*; do [ -e "$file" ] && mv -f "$file" .; done; rmdir "$kept"' EXIT
record_lines() { if [ -f Records.csv ]; then grep -c '^[0-9]' Records.csv || true; else echo 0; fi; }
records_before=$(record_lines)
stale_shots=()
# shot NAME [WAIT] [basic|edit|countdown]: the screen kind names the clock to
# leave out of the check, or that there is no check.
shot() {
  sleep "${2:-0.6}"
  import -window root "$KANAFLOW_SHOTS/$1.png"
  echo "  $1.png"
  [ "${3:-}" = countdown ] && return
  KANAFLOW_SCREENSHOTS="$KANAFLOW_SHOTS" wine "$KANAFLOW_REPAINT_CHECK" "$1" "${3:-}" | sed 's/^/    /' \
    || stale_shots+=("$1")
}
keys() { xdotool key --delay 60 "$@"; }
# Kana arrive as an input method commits them: the whole word at once. The
# virtual X server has no input method, so the word goes through the
# clipboard and Ctrl+V.
kana() {
  printf '%s' "$1" | xclip -selection clipboard >/dev/null 2>&1
  sleep 0.2
  keys ctrl+v
  sleep 0.2
}

wine "$KANAFLOW_EXE" >/dev/null 2>&1 &
program=$!
desktop=$(window_named "Wine desktop") || { echo "scripted-session: the program did not open a window" >&2; exit 1; }
xdotool windowfocus "$desktop" 2>/dev/null || true
sleep 2
shot 01-main-menu

# A second copy is refused: it ends at once, with exit code 0, showing nothing.
windows_before=$(xdotool search --name "Kanaflow Version" 2>/dev/null | wc -l)
second=0
timeout 30 wine "$KANAFLOW_EXE" >/dev/null 2>&1 || second=$?
windows_after=$(xdotool search --name "Kanaflow Version" 2>/dev/null | wc -l)
if [ "$second" -ne 0 ] || [ "$windows_after" -ne "$windows_before" ]; then
  echo "scripted-session: a second copy was not refused (exit $second)" >&2
  exit 1
fi

keys Down Down Down Return
shot 02-setup-dialog 1.5
keys Escape
sleep 0.5

keys Up Up Up Return                       # the basic mode
shot 03-question-select 1.5
keys Return                                # the first set
shot 04-basic-countdown 1.0 countdown
sleep 3
shot 05-basic-running 0.2 basic
basic_run() { xdotool type --delay 90 "aiueokakikukekosashisusesotachitsutetonaninuneno"; }
basic_run
shot 06-basic-results 1.0
# The same set again: its results show the progress against the first run.
keys Escape
sleep 1.5
keys Return
sleep 4
basic_run
shot 06b-basic-results-again 1.0
# Back on the list, the drill of the weak keys is listed first; the set
# played stays selected, and starts again.
keys Escape
shot 06c-question-select-drill 1.5
keys Return
sleep 1

# From the results of one mode, by F5, the main menu's next entry (the menu
# keeps the last one chosen), the first set and the five questions of the
# edit-box screen, each committed and confirmed with Enter.
play_edit_mode() {
  local running_shot=$1 results_shot=$2 question
  keys F5
  sleep 1.5
  keys Down Return
  sleep 1.5
  keys Return
  sleep 3.8
  for question in あいうえお かきくけこ さしすせそ たちつてと なにぬねの; do
    kana "$question"
    keys Return
    [ "$question" = あいうえお ] && shot "$running_shot" 0.3 edit
  done
  shot "$results_shot" 1.0
}

play_edit_mode 07-edit-hiragana-running 08-edit-hiragana-results
play_edit_mode 09-edit-kanji-running 10-edit-kanji-results

keys F5
sleep 1
keys Down Down Return                      # 終了, two below the kanji-kana mode
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$program" 2>/dev/null; then
  echo "scripted-session: the program did not end" >&2
  exit 1
fi
status=0
wait "$program" || status=$?
# Two basic runs and the two edit-box runs, each one whole record.
records_added=$(($(record_lines) - records_before))
if [ "$records_added" -ne 4 ] || [ "$(grep -c '' Records.csv)" -ne 5 ]; then
  echo "scripted-session: $records_added runs were recorded in sample/Records.csv, not 4" >&2
  exit 1
fi
if [ "${#stale_shots[@]}" -gt 0 ]; then
  echo "scripted-session: the screen was stale at ${stale_shots[*]} (see NAME-stale-shown.png and NAME-stale-fresh.png)" >&2
  exit 1
fi
[ "$status" -eq 0 ] || { echo "scripted-session: the program ended with exit code $status" >&2; exit 1; }
echo "scripted-session: every screen played through; the program ended with exit code 0"
