#!/usr/bin/env bash
# Runs the scenario table on the GStreamer player: makes the media, serves
# them from two local HTTP servers (with and without byte ranges), runs
# parity.test.js through kite and stops the servers.
#   run_gst.sh KITE TETHER_PLUGIN MEDIA_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
kite=$1 plugin=$2 media=$3
mkdir -p "$media"
[ -f "$media/tone3s.wav" ] || "$root/scripts/make-sample.sh" tone "$media/tone3s.wav" 3
echo 'This text is no media.' > "$media/not-media.txt"
# An AMR header: GStreamer recognises the kind, and Debian's default plug-ins
# have no decoder for it.
{ printf '#!AMR\n'; head -c 2048 /dev/zero; } > "$media/unsupported.amr"

pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT
serve() {  # serve PORT_FILE [--no-ranges]
  rm -f "$1"
  python3 "$here/media_server.py" "$media" "$1" --seconds 300 "${@:2}" &
  pids+=($!)
}
serve "$media/port-ranges"
serve "$media/port-plain" --no-ranges
for _ in $(seq 100); do
  [ -f "$media/port-ranges" ] && [ -f "$media/port-plain" ] && break
  sleep 0.1
done
ranges=$(cat "$media/port-ranges") plain=$(cat "$media/port-plain")
"$kite" --adapter=gst --plugin="$plugin" "$here/parity.test.js" \
  "$media/tone3s.wav" "$media/not-media.txt" "$media/unsupported.amr" \
  "http://127.0.0.1:$ranges" "http://127.0.0.1:$plain"
