#!/usr/bin/env bash
# Builds the JSON document fuzzer (libFuzzer with ASan and UBSan, clang) into
# build-fuzz/ and runs it until a time or an execution count is reached:
#   scripts/fuzz-json.sh [SECONDS [EXECUTIONS]]
# SECONDS defaults to 60; EXECUTIONS to no limit. New inputs are kept in
# build-fuzz/corpus; the committed seeds stay as they are. A crash, leak or
# sanitizer report stops the run with a non-zero status and leaves the input
# in build-fuzz/. The run is split into fuzzer processes of at most two
# million executions: under the sanitizers a process's resident size grows
# by some hundred bytes per execution (without them it stays flat), which
# would reach the memory limit. Each process prints its figures; the last
# line gives the totals.
# TETHER_FUZZ_LOG=1 also formats every log line, which is several times
# slower.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
runs=${2:--1}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]] || ! [[ $runs =~ ^([1-9][0-9]*|-1)$ ]]; then
  echo "usage: $0 [SECONDS [EXECUTIONS]]  (positive whole numbers)" >&2
  exit 2
fi
out=$root/build-fuzz
mkdir -p "$out/corpus"

flags=(-std=c++17 -g -O1 -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
# shellcheck disable=SC2046  # pkg-config prints several words on purpose
clang++ "${flags[@]}" \
  -I"$root/src/Tether" -I"$root/platform/dlog/include" $(pkg-config --cflags jsoncpp) \
  "$root/fuzz/json_fuzzer.cpp" "$root/src/Tether/TetherJson.cpp" "$root/src/Tether/TetherLog.cpp" \
  "$root"/platform/dlog/src/*.cpp \
  $(pkg-config --libs jsoncpp) -pthread -o "$out/json_fuzzer"

# A smaller quarantine and no fill of new blocks halve the time spent in the
# allocator; use-after-free is still caught within the last 16 MiB freed.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:max_malloc_fill_size=0}
chunk=2000000
start=$SECONDS total=0 processes=0
while :; do
  left=$((seconds - (SECONDS - start)))
  [ "$left" -gt 0 ] || break
  limit=$chunk
  if [ "$runs" -gt 0 ]; then
    [ $((runs - total)) -gt 0 ] || break
    [ $((runs - total)) -lt "$limit" ] && limit=$((runs - total))
  fi
  log=$out/last-run.log
  "$out/json_fuzzer" -max_total_time="$left" -runs="$limit" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -dict="$root/fuzz/json.dict" -artifact_prefix="$out/" -print_final_stats=1 \
    "$out/corpus" "$root/fuzz/corpus/json" >"$log" 2>&1
  status=$?
  done_runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ $status -ne 0 ] || [ -z "$done_runs" ]; then
    cat "$log" >&2
    echo "fuzz-json.sh: the fuzzer stopped with status $status after $total executions before this process" >&2
    exit 1
  fi
  total=$((total + done_runs)) processes=$((processes + 1))
  echo "process $processes: $done_runs executions, $(sed -n 's/^stat::peak_rss_mb: *//p' "$log") MiB peak"
done
echo "fuzz-json.sh: $total executions in $processes processes, $((SECONDS - start)) s, no finding"
