#!/usr/bin/env bash
# Runs every script test (tests/{tether,bridge,host}/*.test.js and tests/tether/runs/*.js)
# and a short run of the script-level fuzzer through kite under valgrind
# memcheck, in the plain build. Fails when memcheck reports an error, or a
# byte definitely or indirectly lost, or a test fails:
#   scripts/valgrind-scripts.sh [NAME-PATTERN]
# NAME-PATTERN (a grep -E pattern) picks scripts by file name. BUILD_DIR
# chooses the build folder (default build, shared with scripts/test.sh). Each
# run's full report is kept in BUILD_DIR/valgrind/NAME.log.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
pattern=${1:-.}

"$root/scripts/setup.sh" >/dev/null || { echo "valgrind-scripts.sh: set-up failed" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind-scripts.sh: valgrind is not installed" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build "$build" --target kite Tether KiteTestPlugin -j2 >/dev/null ||
  { echo "valgrind-scripts.sh: build failed in $build" >&2; exit 1; }

logs=$build/valgrind
mkdir -p "$logs"
out=$build/out
# V8 writes the code it runs: memcheck must watch for code that changes.
memcheck=(valgrind --tool=memcheck --smc-check=all-non-file --leak-check=full
          --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect
          --error-exitcode=99 --num-callers=40)
if [ -s "$root/tests/valgrind.supp" ]; then
  memcheck+=(--suppressions="$root/tests/valgrind.supp")
fi
kite=("$out/kite" --adapter=sim --plugin="$build/lib/kite/plugins/libTether.so" --plugin="$out/libKiteTestPlugin.so")

failed=()
runs=0
# run NAME ALLOWED-STATUSES SCRIPT [ARGS...]: ALLOWED-STATUSES is a grep -E
# pattern for kite's own exit status.
run() {
  local name=$1 allowed=$2
  shift 2
  grep -Eq -- "$pattern" <<<"$name" || return 0
  local log=$logs/$name.log
  (cd "$root/tests/tether" && "${memcheck[@]}" --log-file="$log" "${kite[@]}" "$@" >"$logs/$name.out" 2>&1)
  local status=$?
  runs=$((runs + 1))
  local errors definite indirect
  errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9,]*\) errors.*/\1/p' "$log" | tail -1)
  definite=$(sed -n 's/.*definitely lost: \([0-9,]*\) bytes.*/\1/p' "$log" | tail -1)
  indirect=$(sed -n 's/.*indirectly lost: \([0-9,]*\) bytes.*/\1/p' "$log" | tail -1)
  printf '%-28s status %3s  errors %s  definitely lost %s  indirectly lost %s\n' \
    "$name" "$status" "${errors:-?}" "${definite:-0}" "${indirect:-0}"
  if [ $status -eq 99 ] || ! grep -Eq "^($allowed)\$" <<<"$status" || [ "${errors:-?}" != 0 ] ||
     [ "${definite:-0}" != 0 ] || [ "${indirect:-0}" != 0 ]; then
    failed+=("$name")
  fi
}

for script in "$root"/tests/{tether,bridge,host}/*.test.js; do
  name=$(basename "$script" .test.js)
  run "$name" 0 "$script"
done
# These end with status 1 (an uncaught exception) or 3 (kite.quit(3)) on
# purpose; their output is checked by ctest.
for script in "$root"/tests/tether/runs/*.js; do
  name=run.$(basename "$script" .js)
  run "$name" "0|1|3" --log="$logs/$name.kite-log" "$script"
done
run fuzz.seed1 0 "$root/fuzz/script/fuzz.js" --seed 1 --steps 1500

if [ ${#failed[@]} -gt 0 ]; then
  echo "valgrind-scripts.sh: FAILED: ${failed[*]} (reports in $logs)" >&2
  exit 1
fi
echo "valgrind-scripts.sh: $runs runs under memcheck, no error, nothing definitely or indirectly lost"
