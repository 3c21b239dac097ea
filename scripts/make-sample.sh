#!/usr/bin/env bash
# Makes the working folder that ships, sample/: the question sets from
# scripts/sample/questions.txt as Shift_JIS files with CR LF line ends (as
# Windows users' files are), the sounds and music (sox) and the background
# picture (imagemagick). The results are committed; run this after editing
# the sources.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in sox convert iconv; do
  command -v "$tool" >/dev/null || { echo "make-sample: $tool is needed (apt-get install sox imagemagick)" >&2; exit 2; }
done

out=sample
rm -rf "$out/data" "$out/media"
mkdir -p "$out/data" "$out/media"

# Shift_JIS with CR LF, from UTF-8 text on standard input.
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

write_set() {  # $1 set path (FOLDER/NAME), $2 keys, $3 questions ("text | reading" lines)
  local folder name count
  folder=$(dirname "$1"); name=$(basename "$1")
  mkdir -p "$out/data/$folder"
  count=$(printf '%s\n' "$3" | grep -c .)
  {
    echo "[TypingQuesitonSetup]"
    echo "Version=5"
    echo "QuestionNumber=$count"
    echo "QuestionFileName=#$name.txt"
    printf '%s' "$2"
    media_keys
  } | to_sjis > "$out/data/$folder/$name.ini"
  printf '%s\n' "$3" | sed -E 's/^(.*[^ ]) +\| +(.*)$/\1\n\2/' | to_sjis > "$out/data/$folder/$name.txt"
}

set_path="" keys="" questions=""
flush() { [ -n "$set_path" ] && write_set "$set_path" "$keys" "$questions"; set_path="" keys="" questions=""; }
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in
    '#'*|'') continue ;;
    '@set '*) flush; set_path="${line#@set }" ;;
    *' | '*) questions+="$line"$'\n' ;;
    *=*) keys+="$line"$'\n' ;;
  esac
done < scripts/sample/questions.txt
flush
questions="" keys=""

# Sounds: a short click, a low buzz, a rising chime; music: a gentle loop.
sox -n -r 22050 -c 1 -b 16 "$out/media/type.wav" synth 0.03 sine 1800 fade 0 0.03 0.02 vol 0.5
sox -n -r 22050 -c 1 -b 16 "$out/media/miss.wav" synth 0.15 square 140 fade 0 0.15 0.05 vol 0.4
sox -n -r 22050 -c 1 -b 16 "$out/media/end.wav" synth 0.15 sine 660 : synth 0.15 sine 880 : synth 0.3 sine 1320 fade 0 0.3 0.2 vol 0.5
sox -n -r 22050 -c 1 -b 16 "$out/media/bgm.wav" \
  synth 0.3 sine 523 fade 0.01 0.3 0.08 : synth 0.3 sine 659 fade 0.01 0.3 0.08 : \
  synth 0.3 sine 784 fade 0.01 0.3 0.08 : synth 0.3 sine 659 fade 0.01 0.3 0.08 : \
  synth 0.3 sine 587 fade 0.01 0.3 0.08 : synth 0.3 sine 698 fade 0.01 0.3 0.08 : \
  synth 0.3 sine 880 fade 0.01 0.3 0.08 : synth 0.6 sine 784 fade 0.01 0.6 0.2 vol 0.25
sox -n -r 22050 -c 1 -b 16 "$out/media/end_bgm.wav" \
  synth 0.4 sine 784 fade 0.01 0.4 0.1 : synth 0.4 sine 659 fade 0.01 0.4 0.1 : \
  synth 0.4 sine 523 fade 0.01 0.4 0.1 : synth 0.8 sine 1047 fade 0.01 0.8 0.3 vol 0.25

# The background: a soft paper tone with a pale band where the keyboard sits.
convert -size 640x480 gradient:'#FFFDF5-#F2F6FF' \
  -fill '#EEF3FA' -draw 'rectangle 0,232 640,452' -type TrueColor "BMP3:$out/media/background.bmp"
echo "sample/ is ready: $(find "$out/data" -name '*.ini' | wc -l) question sets"
