#!/usr/bin/env bash
# Runs streaming.test.js on the GStreamer player against the local media
# server: makes the media, serves them, runs the test through kite and
# stops the server.
#   run_streaming.sh KITE TETHER_PLUGIN MEDIA_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../streaming/media.sh
source "$here/../streaming/media.sh"
kite=$1 plugin=$2 media=$3
make_media "$media"
serve_media "$media" 120
"$kite" --adapter=gst --plugin="$plugin" "$here/streaming.test.js" "$media_base"
