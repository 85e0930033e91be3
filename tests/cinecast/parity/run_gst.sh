#!/usr/bin/env bash
# Runs the scenario table on the GStreamer player: makes the media, serves
# them from one local HTTP server whose paths name the network conditions
# (tests/cinecast/streaming/media_server.py), runs parity.test.js through kite and
# stops the server.
#   run_gst.sh KITE TETHER_PLUGIN MEDIA_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../streaming/media.sh
source "$here/../streaming/media.sh"
kite=$1 plugin=$2 media=$3
make_media "$media"
serve_media "$media" 300
base=$media_base
"$kite" --adapter=gst --plugin="$plugin" "$here/parity.test.js" \
  "$media/tone3s.wav" "$media/not-media.txt" "$media/no-decoder.avi" "$base/ranges" "$base/plain" \
  "$base/ranges/hls/vod.m3u8" "$base/ranges/dash/vod.mpd" \
  "$base/ranges/vod.webm" "$base/plain/vod.webm" "$base/nolength/vod.webm" \
  "$base/live/hls/vod.m3u8" "$base/event/hls/vod.m3u8" \
  "$base/slow=20000/ranges/hls/vod.m3u8" "$base/drop=40000/ranges/hls/vod.m3u8" "$base/drop=2000/plain/vod.webm" \
  "$base/missing=seg000.ts/ranges/hls/vod.m3u8" "$base/reason=No%20Such%20Film/ranges/missing.webm"
