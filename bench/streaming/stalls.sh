#!/usr/bin/env bash
# Whether the GStreamer player ever holds the script thread: the longest
# command and the main loop's longest stall (a 10 ms timer's lateness) during
# scripted playback of an HLS and a DASH stream from a local server,
# against the same loop with no player, in one run (bench/streaming/stalls.js);
# and, on their own, what constructing (the first starts GStreamer) and
# destroying a Tether object (which waits for its pipeline to stop) take.
#   bench/streaming/stalls.sh [RUNS] [SECONDS]   (default 3 runs of 8 s; medians)
# BENCH_BUILD_DIR chooses the build folder (default build-bench). Exits 1
# when the longest command passes 5 ms or the stalls pass the bare loop's
# by more than 5 ms.
set -euo pipefail
runs=${1:-3} seconds=${2:-8}
BENCH_TARGETS="kite Tether cinecast_gst" source "$(dirname "$0")/../lib/build.sh"
# shellcheck source=../../tests/cinecast/streaming/media.sh
source "$root/tests/cinecast/streaming/media.sh"
media=$build/bench-media
make_media "$media" >/dev/null
serve_media "$media" 3600
export CINECAST_GST_AUDIO_SINK=fakesink CINECAST_GST_VIDEO_SINK=fakesink

# run MODE URL: one JSON line.
run() {
  "$build/out/kite" --adapter=gst --plugin="$build/lib/kite/plugins/libTether.so" \
    "$root/bench/streaming/stalls.js" "$1" "$2" "$seconds" | tail -n 1
}
field() { node -e 'const o = JSON.parse(require("fs").readFileSync(0, "utf8")); console.log(eval("o." + process.argv[1]))' "$1"; }

status=0
printf '%-6s %22s %12s %12s %16s %14s\n' medium "longest command (ms)" "stall (ms)" "bare (ms)" "construct (ms)" "destroy (ms)"
for medium in hls/vod.m3u8 dash/vod.mpd; do
  commands=() names=() stalls=() bare=() constructs=() destroys=()
  for _ in $(seq "$runs"); do
    line=$(run player "$media_base/ranges/$medium")
    commands+=("$(field longestCommand.ms <<<"$line")")
    names+=("$(field longestCommand.name <<<"$line")")
    stalls+=("$(field stallMs <<<"$line")")
    constructs+=("$(field constructMs <<<"$line")")
    destroys+=("$(field destroyMs <<<"$line")")
    bare+=("$(field stallMs <<<"$(run bare "")")")
  done
  command=$(printf '%s\n' "${commands[@]}" | median)
  stall=$(printf '%s\n' "${stalls[@]}" | median)
  bare_stall=$(printf '%s\n' "${bare[@]}" | median)
  construct=$(printf '%s\n' "${constructs[@]}" | median)
  destroy=$(printf '%s\n' "${destroys[@]}" | median)
  printf '%-6s %22.2f %12.2f %12.2f %16.1f %14.1f   longest of run 1: %s\n' "${medium%%/*}" "$command" "$stall" \
    "$bare_stall" "$construct" "$destroy" "${names[0]}"
  awk -v c="$command" -v s="$stall" -v b="$bare_stall" 'BEGIN { exit !(c > 5 || s > b + 5) }' && status=1
done
exit $status
