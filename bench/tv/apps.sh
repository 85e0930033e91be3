#!/usr/bin/env bash
# What the app tools for the TV's engine cost a developer and an app:
# kite check and kite build --target=tv over examples/ (the time a developer
# waits), the size of the built scripts against their source, and what the
# built form costs at run time against the source on this desktop's V8, in
# one run, side by side (bench/tv/workload.js: Tether calls and event
# deliveries, on the simulated player).
#   bench/tv/apps.sh [RUNS]     (default 9 runs of each form; medians)
# BENCH_BUILD_DIR chooses the build folder (default build-bench). Exits 1
# when the built form is slower than 1.2 times the source.
set -euo pipefail
runs=${1:-9}
source "$(dirname "$0")/../lib/build.sh"
kite=$build/out/kite
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$root"

# seconds COMMAND...: its wall time; its status is not the point (check
# fails on the sources).
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
times() { local i; for i in 1 2 3; do seconds "$@"; done | median; }

examples=(examples/*.js)
check_source=$(times "$kite" check --target=tv "${examples[@]}")
build_time=$(times "$kite" build --target=tv --out="$tmp/examples" "${examples[@]}")
"$kite" build --target=tv --out="$tmp/examples" "${examples[@]}" >/dev/null
check_built=$(times "$kite" check --target=tv "$tmp"/examples/*.js)
source_bytes=$(cat "${examples[@]}" | wc -c)
built_bytes=$(cat "$tmp"/examples/*.js | wc -c)
runtime_bytes=$(sed -n '\|^/\* kite build --target=tv: runtime \*/$|,\|^/\* kite build --target=tv: app \*/$|p' \
  "$tmp"/examples/*.js | wc -c)

# The workload in both forms, alternately, so that the machine's drift
# touches both alike.
"$kite" build --target=tv --out="$tmp/workload" bench/tv/workload.js >/dev/null
for ((i = 0; i < runs; ++i)); do
  "$kite" --adapter=sim bench/tv/workload.js >>"$tmp/source.txt"
  "$kite" --adapter=sim "$tmp/workload/workload.js" >>"$tmp/built.txt"
done
column() { awk -v c="$1" '{ print $c }' "$2" | median; }
calls_source=$(column 1 "$tmp/source.txt"); calls_built=$(column 1 "$tmp/built.txt")
events_source=$(column 2 "$tmp/source.txt"); events_built=$(column 2 "$tmp/built.txt")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v r="$1" 'BEGIN { print (r <= 1.2) ? "met" : "MISSED" }'; }
calls_ratio=$(ratio "$calls_built" "$calls_source")
events_ratio=$(ratio "$events_built" "$events_source")

cat <<TABLE
| Figure | Source | Built | Ratio | Target | |
|---|---:|---:|---:|---|---|
| kite check --target=tv over examples/*.js (${#examples[@]} scripts), s | $check_source | $check_built | - | - | |
| kite build --target=tv over examples/*.js, s | - | $build_time | - | - | |
| size of examples/*.js, bytes | $source_bytes | $built_bytes | $(ratio "$built_bytes" "$source_bytes") | - | |
| ... of which the run-time section (helpers, polyfills), bytes | - | $runtime_bytes | - | - | |
| ... the app's own code, bytes | $source_bytes | $((built_bytes - runtime_bytes)) | $(ratio $((built_bytes - runtime_bytes)) "$source_bytes") | - | |
| workload: 20000 rounds of two Tether calls, ms | $calls_source | $calls_built | $calls_ratio | <= 1.2 | $(verdict "$calls_ratio") |
| workload: 20000 events delivered, ms | $events_source | $events_built | $events_ratio | <= 1.2 | $(verdict "$events_ratio") |
TABLE
echo "Medians of $runs runs of each form, run alternately; tool times the median of 3. Machine: $(nproc) cores, load average $(cut -d' ' -f1 /proc/loadavg) at the end"
[ "$(verdict "$calls_ratio")" = met ] && [ "$(verdict "$events_ratio")" = met ]
