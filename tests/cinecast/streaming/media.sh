# shellcheck shell=bash
# Shell functions for the tests that play media made here and served by
# media_server.py; sourced by tests/cinecast/parity/run_gst.sh and
# bench/streaming/stalls.sh.
#   make_media DIR             makes the test media in DIR, skipping what is there
#   serve_media DIR [SECONDS]  serves DIR until this shell exits (or SECONDS
#                              pass, 300 by default) and sets media_base to
#                              the server's http://127.0.0.1:PORT
streaming_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The set, as PATH KIND [ARGS...] for scripts/make-sample.sh.
media_set=(
  "tone3s.wav tone 3"
  "no-decoder.avi unknown-codec"
  "vod.webm webm"
  "hls/vod.m3u8 hls"
  "dash/vod.mpd dash"
)

make_media() {
  local dir=$1 entry path kind args top
  mkdir -p "$dir"
  [ -f "$dir/not-media.txt" ] || echo 'This text is no media.' >"$dir/not-media.txt"
  for entry in "${media_set[@]}"; do
    read -r path kind args <<<"$entry"
    [ -e "$dir/$path" ] && continue
    # Made under another name first (its folder, for a playlist and its
    # segments), so that an interrupted run leaves nothing that looks made.
    top=${path%%/*}
    rm -rf "${dir:?}/partial-$top"
    # shellcheck disable=SC2086  # the arguments are words of the set
    "$streaming_dir/../../../scripts/make-sample.sh" "$kind" "$dir/partial-$path" $args
    mv "$dir/partial-$top" "$dir/$top"
  done
}

serve_media() {
  local dir=$1 seconds=${2:-300} port_file
  port_file=$(mktemp "${TMPDIR:-/tmp}/media-server-port.XXXXXX")
  rm -f "$port_file"
  python3 "$streaming_dir/media_server.py" "$dir" "$port_file" --seconds "$seconds" &
  media_server_pid=$!
  # shellcheck disable=SC2064  # the names are fixed now
  trap "kill $media_server_pid 2>/dev/null || true; rm -f '$port_file'" EXIT
  for _ in $(seq 100); do
    [ -s "$port_file" ] && break
    kill -0 "$media_server_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$port_file" ] || { echo "media_server.py did not start on $dir" >&2; return 1; }
  # shellcheck disable=SC2034  # for the script that sources this
  media_base=http://127.0.0.1:$(cat "$port_file")
}
