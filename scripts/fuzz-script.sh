#!/usr/bin/env bash
# Runs the script-level fuzzer (fuzz/script/fuzz.js) through kite on the
# simulated player, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (and leak checking at the end of every kite process):
#   scripts/fuzz-script.sh --steps N | --seconds S [--seed K] [--chunk STEPS]
# The run is split into kite processes of at most CHUNK steps (default
# 20000) with the seeds K, K+1, ... (K defaults to 1), so that the simulated
# player's records stay small. Each process prints its figures; the last
# line gives the totals. Stops at the first finding, sanitizer report or
# leak, with a non-zero status; the seed and step in the report replay it:
#   kite --adapter=sim fuzz/script/fuzz.js --seed K --steps N
# ASAN_BUILD_DIR chooses the build folder (default build-asan, shared with
# scripts/test.sh).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ASAN_BUILD_DIR:-$root/build-asan}

usage() {
  echo "usage: $0 --steps N | --seconds S [--seed K] [--chunk STEPS]" >&2
  exit 2
}
steps=0 seconds=0 seed=1 chunk=20000
while [ $# -gt 0 ]; do
  case $1 in
    --steps) steps=${2:-}; shift 2 || usage ;;
    --seconds) seconds=${2:-}; shift 2 || usage ;;
    --seed) seed=${2:-}; shift 2 || usage ;;
    --chunk) chunk=${2:-}; shift 2 || usage ;;
    *) usage ;;
  esac
done
for n in "$steps" "$seconds" "$seed" "$chunk"; do
  [[ $n =~ ^[0-9]+$ ]] || usage
done
if [ $((steps > 0)) -eq $((seconds > 0)) ] || [ "$chunk" -eq 0 ]; then
  usage
fi

"$root/scripts/setup.sh" >/dev/null || { echo "fuzz-script.sh: set-up failed" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTETHER_SANITIZE=ON >/dev/null &&
  cmake --build "$build" --target kite Tether KiteTestPlugin -j2 >/dev/null ||
  { echo "fuzz-script.sh: build failed in $build" >&2; exit 1; }

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0

start=$(date +%s)
done_steps=0 runs=0
declare -A total=()
while :; do
  now=$(date +%s)
  if [ "$steps" -gt 0 ]; then
    left=$((steps - done_steps))
    [ "$left" -le 0 ] && break
    limit=(--steps $((left < chunk ? left : chunk)))
  else
    left=$((start + seconds - now))
    [ "$left" -le 0 ] && break
    limit=(--steps "$chunk" --seconds "$left")
  fi
  out=$("$build/out/kite" --adapter=sim --plugin="$build/lib/kite/plugins/libTether.so" \
        --plugin="$build/out/libKiteTestPlugin.so" "$root/fuzz/script/fuzz.js" --seed "$seed" "${limit[@]}" 2>&1)
  status=$?
  summary=$(grep -m1 '^fuzz-script: {' <<<"$out")
  if [ $status -ne 0 ] || [ -z "$summary" ]; then
    echo "$out" >&2
    echo "fuzz-script.sh: seed $seed failed (status $status)" >&2
    exit 1
  fi
  echo "$summary"
  runs=$((runs + 1))
  for key in steps calls nested thrown assignments destroys drops collections events deliveries findings; do
    value=$(sed -n "s/.*\"$key\":\([0-9]*\).*/\1/p" <<<"$summary")
    total[$key]=$((${total[$key]:-0} + ${value:-0}))
  done
  done_steps=${total[steps]}
  seed=$((seed + 1))
done
echo "fuzz-script.sh: $runs runs, ${total[steps]:-0} steps, ${total[calls]:-0} method calls" \
     "(${total[nested]:-0} nested steps, ${total[thrown]:-0} ended by a getter's exception)," \
     "${total[assignments]:-0} assignments, ${total[destroys]:-0} destroys, ${total[events]:-0} events," \
     "${total[deliveries]:-0} deliveries in $(( $(date +%s) - start )) s; findings: ${total[findings]:-0}"
