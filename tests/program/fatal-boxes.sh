#!/usr/bin/env bash
# The real program started on a library with a bad set, on a Setting.ini
# with a value written "Error", and on a library full of device names: each
# time the numbered box the user sees (its
# caption and its whole text, read off the box by $KANAFLOW_MESSAGE_BOX,
# tests/win32/message_box.cpp), then exit code 1 once it is closed. Each runs
# in a working folder of its own, copied from sample/. Runs inside
# with-display.sh.
set -euo pipefail
sample="$(cd "$(dirname "$0")/../../sample" && pwd)"
source "$(dirname "$0")/../../scripts/wine/x-waits.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

closing="これ以降処理を続行するとシステムが不安定になる可能性がありますので、このプログラムは終了します。"

# play FOLDER KEYS...: starts the program in FOLDER, presses KEYS once its
# window is up, and prints what the box shows; fails when no box comes or the
# program does not end with exit code 1 after it.
play() {
  local folder=$1 program status=0 desktop="" shown
  shift
  (cd "$folder" && exec wine "$KANAFLOW_EXE") >/dev/null 2>&1 &
  program=$!
  desktop=$(window_named "Kanaflow Version") || { echo "fatal-boxes: the program did not open a window" >&2; return 1; }
  sleep 1.5
  xdotool key --delay 400 "$@"
  shown=$(wine "$KANAFLOW_MESSAGE_BOX") || { kill "$program" 2>/dev/null; echo "fatal-boxes: no box" >&2; return 1; }
  for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
  wait "$program" || status=$?
  [ "$status" -eq 1 ] || { echo "fatal-boxes: the program ended with exit code $status, not 1" >&2; return 1; }
  printf '%s\n' "$shown"
}

# expect NAME SHOWN EXPECTED
expect() {
  if [ "$2" != "$3" ]; then
    echo "fatal-boxes: $1: the box shows" >&2
    printf '%s\n' "$2" >&2
    echo "fatal-boxes: where it should show" >&2
    printf '%s\n' "$3" >&2
    diff <(printf '%s\n' "$3") <(printf '%s\n' "$2") >&2 || true
    return 1
  fi
  echo "fatal-boxes: $1: caption エラー, the whole text, exit code 1"
}

# A set of a version newer than the program reads: 0102 when the selection
# screen loads the library.
mkdir "$work/version"
cp -r "$sample/." "$work/version/"
LC_ALL=C sed -i 's/^Version=5/Version=9/' "$work/version/data/はじめての練習.ini"
cwd=$(cd "$work/version" && winepath -w . 2>/dev/null | sed 's/\\\.$//; s/\\$//')
shown=$(play "$work/version" Return)
expect "a set of version 9" "$shown" "エラー
--
Kanaflow Version 0.511
エラー番号：0102

エラー内容
指定されたファイルは読み込むことができません。

考えられる原因
読み込み対象のファイルのバージョンと、
このプログラムが扱うことのできるバージョンが一致しません。

$closing

情報
このプログラムの扱うことのできるバージョンの最大値：5
読み込もうとしたファイルのバージョン：9
読み込み対象ファイル名：./data/はじめての練習.ini
カレントディレクトリ：$cwd"

# A setting written "Error": 0104 when a practice screen reads the settings.
mkdir "$work/setting"
cp -r "$sample/." "$work/setting/"
LC_ALL=C sed -i 's/^ShowKeyboard=.*/ShowKeyboard=Error/' "$work/setting/Setting.ini"
cwd=$(cd "$work/setting" && winepath -w . 2>/dev/null | sed 's/\\\.$//; s/\\$//')
shown=$(play "$work/setting" Return Return)
expect "ShowKeyboard=Error" "$shown" "エラー
--
Kanaflow Version 0.511
エラー番号：0104

エラー内容
設定の読み込みに失敗しました。

以下の理由によって設定が読み込めない可能性があります。
・指定されたファイルが存在しない。
・指定されたセクション名、キー名が見つからない。
・キーの値がおかしい。

$closing

情報
設定ファイル名：./Setting.ini
セクション名：Setting
キー名：ShowKeyboard
カレントディレクトリ：$cwd"

# Device names, which Windows and Wine open as devices in any folder: the
# sets data/COM1.ini, aux.ini, con.ini and prn.ini are left out unread (COM1
# would keep the program waiting with no window), the first set's sound and
# music named COM1 stay silent, and its question file #con.txt, a file on
# disk, is the console: 0101 at the practice screen, reached without a hang.
mkdir "$work/devices"
cp -r "$sample/." "$work/devices/"
for name in COM1 aux con prn; do cp "$work/devices/data/はじめての練習.ini" "$work/devices/data/$name.ini"; done
cp "$work/devices/data/はじめての練習.txt" "$work/devices/data/con.txt"
LC_ALL=C sed -i 's/^QuestionFileName=.*/QuestionFileName=#con.txt/; s/^TypeSoundFileName=.*/TypeSoundFileName=COM1/;
  s/^BGMFileName=.*/BGMFileName=COM1/' "$work/devices/data/はじめての練習.ini"
shown=$(play "$work/devices" Return Return)
expect "device names" "$(printf '%s\n' "$shown" | grep -e 番号 -e ファイル名)" "エラー番号：0101
ファイル名：./data/con.txt"
