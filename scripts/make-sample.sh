#!/usr/bin/env bash
# Makes the working folder that ships, sample/: the question sets from
# course/sets/*.txt (course/write-sets.sh), the sounds and
# music (sox) and the background picture (imagemagick). The results are
# committed; run this after editing the sources.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in sox convert iconv; do
  command -v "$tool" >/dev/null || { echo "make-sample: $tool is needed (apt-get install sox imagemagick)" >&2; exit 2; }
done

out=sample
rm -rf "$out/data" "$out/media"
mkdir -p "$out/data" "$out/media"

course/write-sets.sh "$out/data"

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
