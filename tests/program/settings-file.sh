#!/usr/bin/env bash
# The real program saving Setting.ini through its setup dialog under Wine,
# looked at from Linux: a file of mode 600 owned by another user, with a
# second name and lone CR line ends, is the same file after the save, with
# the same mode, owner and names, and still lone CRs; what a save cut short
# left beside it is gone, a file of the user's is not. A UTF-16 Setting.ini
# gets the box that says so, and stays as it was. Each runs in a working
# folder of its own, copied from sample/. Runs inside with-display.sh.
set -euo pipefail
sample="$(cd "$(dirname "$0")/../../sample" && pwd)"
source "$(dirname "$0")/../../scripts/wine/x-waits.sh"
work=$(mktemp -d)
program=""
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "settings-file: $*" >&2; exit 1; }

# open_setup FOLDER: starts the program in FOLDER and opens the setup
# dialog from the main menu.
open_setup() {
  (cd "$1" && exec wine "$KANAFLOW_EXE") >/dev/null 2>&1 &
  program=$!
  window_named "Kanaflow Version" >/dev/null || fail "the program did not open a window"
  sleep 1.5
  xdotool key --delay 300 Down Down Down Return
  sleep 1.5
}

# end_program: the program is not needed once the file is looked at.
end_program() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=""
}

# The kept file. Only root may give a file to another user.
mkdir "$work/kept"
cp -r "$sample/." "$work/kept/"
settings="$work/kept/Setting.ini"
printf '; mine\r[Setting]\rShowKeyboard=1\r' >"$settings"
chmod 600 "$settings"
owner=$(id -u):$(id -g)
if [ "$(id -u)" -eq 0 ]; then chown 4321:4321 "$settings" && owner=4321:4321; fi
ln "$settings" "$work/kept/other-name.ini"
inode=$(stat -c %i "$settings")
printf 'half a save' >"$work/kept/Setting.ini.new4294967290"
printf 'half a save' >"$work/kept/Setting.ini.keep4294967290"
printf 'mine' >"$work/kept/Setting.ini.new"
printf 'mine' >"$work/kept/Setting.ini.new12.bak"

open_setup "$work/kept"
xdotool key Return  # OK: saves and closes the dialog
for _ in $(seq 50); do grep -q ShowFingerPosition "$settings" 2>/dev/null && break; sleep 0.2; done
sleep 0.5
end_program
grep -q ShowFingerPosition "$settings" || fail "the dialog did not save"
[ "$(stat -c %a "$settings")" = 600 ] || fail "the mode is $(stat -c %a "$settings"), not 600"
[ "$(stat -c %u:%g "$settings")" = "$owner" ] || fail "the owner is $(stat -c %u:%g "$settings"), not $owner"
[ "$(stat -c %i "$settings")" = "$inode" ] || fail "Setting.ini is another file than before"
cmp -s "$settings" "$work/kept/other-name.ini" || fail "the second name does not hold the saved settings"
[ "$(stat -c %h "$settings")" = 2 ] || fail "Setting.ini has $(stat -c %h "$settings") names, not 2"
[ "$(tr -cd '\n' <"$settings" | wc -c)" = 0 ] || fail "the saved file has line feeds"
head -c 9 "$settings" | cmp -s - <(printf '; mine\r[S') || fail "the first line changed"
for name in Setting.ini.new4294967290 Setting.ini.keep4294967290; do
  [ ! -e "$work/kept/$name" ] || fail "$name is still there"
done
for name in Setting.ini.new Setting.ini.new12.bak; do
  [ "$(cat "$work/kept/$name")" = mine ] || fail "$name was touched"
done
extra=$(ls -A "$work/kept" | grep -c '^Setting\.ini\.' || true)
[ "$extra" = 2 ] || fail "files beside Setting.ini: $(ls -A "$work/kept" | grep '^Setting\.ini\.' | tr '\n' ' ')"
echo "settings-file: mode 600, owner $owner, the same file with its second name, lone CRs, leftovers gone"

# A UTF-16 Setting.ini: the box says what is wrong, and the file stays.
mkdir "$work/utf16"
cp -r "$sample/." "$work/utf16/"
settings="$work/utf16/Setting.ini"
printf '[Setting]\r\nShowKeyboard=1\r\n' | iconv -f ASCII -t UTF-16 >"$settings"
before=$(sha1sum <"$settings")
cwd=$(cd "$work/utf16" && winepath -w . 2>/dev/null | sed 's/\\\.$//; s/\\$//')
open_setup "$work/utf16"
xdotool key Return
shown=$(wine "$KANAFLOW_MESSAGE_BOX") || fail "no box"
end_program
expected="エラー
--
設定を保存できませんでした。
ファイル：./Setting.ini
カレントディレクトリ：$cwd

ファイルが UTF-16 で書かれているため、その設定を読むことも、そこへ書き込むこともできません。
文字コードを Shift_JIS にして保存し直してから、もう一度「OK」を押してください。
「キャンセル」を押すと、変更を保存せずに閉じます。"
if [ "$shown" != "$expected" ]; then
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$shown") >&2 || true
  fail "the box of a UTF-16 Setting.ini"
fi
[ "$(sha1sum <"$settings")" = "$before" ] || fail "the UTF-16 file changed"
echo "settings-file: a UTF-16 Setting.ini: the box says so, the file stays as it was"
