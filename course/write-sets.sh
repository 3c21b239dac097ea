#!/usr/bin/env bash
# Writes the question sets of course/sets/*.txt (UTF-8, for people to
# edit) into the folder given, as the Shift_JIS files with CR LF line ends
# that Kanaflow reads (as Windows users' files are).
#
# Source format, line by line:
#   # ...                 a comment (so are empty lines)
#   @set FOLDER/FILE      starts a set (FOLDER "." is data itself)
#   @keys CHARS           the only keys its romaji may use (tests/course/check-keys.sh)
#   @grade N              only kanji taught by school grade N (tests/course/check-course.sh)
#   @contrast TEXT...     texts of earlier sets asked again on purpose, as pairs
#                         with a new question (tests/course/check-course.sh)
#   Key=value             a key of the set file; QuestionNumber defaults to
#                         every question of the set (a run asks that many,
#                         taken from the top of the question file)
#   text | reading        a question; a line of kana or ASCII alone is its own reading
set -euo pipefail
sets="$(cd "$(dirname "$0")" && pwd)/sets"
out="${1:?usage: write-sets.sh DATA-FOLDER}"
mkdir -p "$out"

to_sjis() { sed 's/$/\r/' | iconv -f UTF-8 -t CP932; }

# Every set shares the sounds, music and picture in media/.
media_keys() {
  cat <<KEYS
TypeSoundFileName=./media/type.wav
MissTypeSoundFileName=./media/miss.wav
EndSoundFileName=./media/end.wav
BGMFileName=./media/bgm.wav
BGMFileType=waveaudio
EndBGMFileName=./media/end_bgm.wav
EndBGMFileType=waveaudio
BackGroundPictureFileName=./media/background.bmp
WindowBackColor=0xFFFFFF
WindowStringColor=0x402010
NextTypeKeyColor=0x3030E0
KEYS
}

write_set() {  # $1 set path (FOLDER/NAME), $2 keys, $3 questions (source lines)
  local folder name count
  folder=$(dirname "$1"); name=$(basename "$1")
  mkdir -p "$out/$folder"
  count=$(printf '%s' "$3" | grep -c .)
  {
    echo "[TypingQuesitonSetup]"
    echo "Version=5"
    grep -q '^QuestionNumber=' <<<"$2" || echo "QuestionNumber=$count"
    echo "QuestionFileName=#$name.txt"
    printf '%s' "$2"
    media_keys
  } | to_sjis > "$out/$folder/$name.ini"
  printf '%s' "$3" | awk '{
      split_at = index($0, " | ")
      if (split_at) { print substr($0, 1, split_at - 1); print substr($0, split_at + 3) }
      else { print; print }
    }' | to_sjis > "$out/$folder/$name.txt"
}

set_path="" keys="" questions=""
flush() { [ -n "$set_path" ] && write_set "$set_path" "$keys" "$questions"; set_path="" keys="" questions=""; }
for source in "$sets"/*.txt; do
  while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
      '#'*|'') continue ;;
      '@set '*) flush; set_path="${line#@set }" ;;
      '@'*) ;;
      *) if [[ "$line" =~ ^[A-Za-z_]+= ]]; then keys+="$line"$'\n'; else questions+="$line"$'\n'; fi ;;
    esac
  done < "$source"
  flush
done
