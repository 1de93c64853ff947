#!/bin/bash
# Generates the MP3 files the Windows-side tests play: short tones made with
# sox and encoded with lame, and one corrupt ".mp3". Never committed.
#   make-test-mp3s.sh OUTPUT_FOLDER
set -euo pipefail
out="$1"
mkdir -p "$out"
tone() {  # tone NAME SECONDS FREQUENCY
  if [ ! -s "$out/$1.mp3" ]; then
    sox -q -n -r 44100 -c 2 -b 16 "$out/$1.wav" synth "$2" sine "$3" vol 0.3
    lame --quiet -b 128 "$out/$1.wav" "$out/$1.mp3"
    rm -f "$out/$1.wav"
  fi
}
tone tone-a 1.5 440
tone tone-b 1.0 660
tone tone-c 2.0 550
# A variable-bit-rate file: its duration is only an estimate.
if [ ! -s "$out/tone-vbr.mp3" ]; then
  sox -q -n -r 44100 -c 2 -b 16 "$out/tone-vbr.wav" synth 1.2 sine 300:900 vol 0.3
  lame --quiet -V 4 "$out/tone-vbr.wav" "$out/tone-vbr.mp3"
  rm -f "$out/tone-vbr.wav"
fi
printf 'This is not an MP3 file at all, just text with an mp3 name.\n' > "$out/corrupt.mp3"
