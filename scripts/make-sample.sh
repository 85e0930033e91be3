#!/usr/bin/env bash
# Makes the short media that the examples and the tests play, from
# GStreamer's own test sources.
#   scripts/make-sample.sh tone OUT.wav [SECONDS]  a 440 Hz tone, mono 44.1 kHz WAV,
#                                                 exactly SECONDS long (whole, default 3)
#   scripts/make-sample.sh steps OUT.wav           eight rising tones of 0.75 s, WAV (6 s)
set -euo pipefail

usage() {
  sed -n '4,6p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

[ $# -ge 2 ] || usage
kind=$1
out=$2
mkdir -p "$(dirname "$out")"
# One buffer is 10 ms, so lengths are exact.
raw='audio/x-raw,rate=44100,channels=1'

case $kind in
  tone)
    seconds=${3:-3}
    [[ $seconds =~ ^[1-9][0-9]{0,2}$ ]] || { echo "make-sample: SECONDS must be a whole number from 1 to 999" >&2; exit 2; }
    gst-launch-1.0 -q audiotestsrc freq=440 volume=0.5 num-buffers=$((seconds * 100)) samplesperbuffer=441 \
      ! "$raw" ! wavenc ! filesink location="$out"
    ;;
  steps)
    # Each step lands in its own band of the sound analysis.
    sources=()
    for step in 0 1 2 3 4 5 6 7; do
      sources+=(audiotestsrc freq=$((689 + 2756 * step)) volume=0.3 num-buffers=75 samplesperbuffer=441
                ! "$raw" ! c.)
    done
    gst-launch-1.0 -q concat name=c ! wavenc ! filesink location="$out" "${sources[@]}"
    ;;
  *)
    usage
    ;;
esac
