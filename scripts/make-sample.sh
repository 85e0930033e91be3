#!/usr/bin/env bash
# Makes the short media that the examples and the tests play, from
# GStreamer's and ffmpeg's own test sources.
#   scripts/make-sample.sh tone OUT.wav [SECONDS]  a 440 Hz tone, mono 44.1 kHz WAV,
#                                                 exactly SECONDS long (whole, default 3)
#   scripts/make-sample.sh steps OUT.wav           eight rising tones of 0.75 s, WAV (6 s)
#   scripts/make-sample.sh hls OUT.m3u8            an HLS VOD of 12 s, H.264/AAC in MPEG-TS
#                                                 segments of 2 s (seg000.ts ...) beside it
#   scripts/make-sample.sh dash OUT.mpd            a DASH VOD of 12 s, H.264/AAC in fMP4
#                                                 segments of 2 s beside it
#   scripts/make-sample.sh webm OUT.webm           20 s of VP8/Vorbis
#   scripts/make-sample.sh unknown-codec OUT.avi   an AVI whose one stream has a made-up
#                                                 codec (fourcc ZZZZ): no decoder exists
set -euo pipefail

usage() {
  sed -n '4,13p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

[ $# -ge 2 ] || usage
kind=$1
out=$2
mkdir -p "$(dirname "$out")"
# One buffer is 10 ms, so lengths are exact.
raw='audio/x-raw,rate=44100,channels=1'
# ffmpeg's test picture with a 440 Hz tone, small and cheap to make and to decode.
ffmpeg_quiet=(-nostdin -loglevel error -y)
picture_and_tone=(-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100)
h264_aac=(-c:v libx264 -preset ultrafast -g 25 -b:v 200k -c:a aac -b:a 64k)

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
  hls)
    # Segment names in the playlist are relative, so it is made in its folder.
    (cd "$(dirname "$out")" &&
      ffmpeg "${ffmpeg_quiet[@]}" "${picture_and_tone[@]}" -t 12 "${h264_aac[@]}" \
        -f hls -hls_time 2 -hls_playlist_type vod -hls_segment_filename 'seg%03d.ts' "$(basename "$out")")
    ;;
  dash)
    (cd "$(dirname "$out")" &&
      ffmpeg "${ffmpeg_quiet[@]}" "${picture_and_tone[@]}" -t 12 "${h264_aac[@]}" \
        -f dash -seg_duration 2 -use_template 1 -use_timeline 0 "$(basename "$out")")
    ;;
  webm)
    ffmpeg "${ffmpeg_quiet[@]}" "${picture_and_tone[@]}" -t 20 -s 160x120 -r 15 \
      -c:v libvpx -deadline realtime -cpu-used 8 -b:v 100k -c:a libvorbis -b:a 48k "$out"
    ;;
  unknown-codec)
    # The AVI muxer refuses a tag that does not belong to the codec unless
    # told not to be strict; what the stream holds does not matter.
    ffmpeg "${ffmpeg_quiet[@]}" -f lavfi -i testsrc=size=64x48:rate=5 -t 2 \
      -c:v mpeg4 -vtag ZZZZ -strict unofficial "$out"
    ;;
  *)
    usage
    ;;
esac
