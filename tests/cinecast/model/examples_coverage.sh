#!/usr/bin/env bash
# Runs kite test --coverage (the command given) over the examples' tests,
# prints its report with the coverage table, and fails when a test fails or
# the share of the examples' lines that the tests run is below FLOOR percent.
#   examples_coverage.sh FLOOR [EMULATOR...] KITE test ARGS...
set -u
floor=$1
shift
out=$("$@" 2>&1)
status=$?
printf '%s\n' "$out"
[ "$status" = 0 ] || { echo "examples_coverage.sh: kite test ended with $status" >&2; exit 1; }
lines=$(awk -F'|' '$1 ~ /^all files/ { gsub(/ /, "", $2); print $2 }' <<<"$out")
[ -n "$lines" ] || { echo "examples_coverage.sh: no coverage table" >&2; exit 1; }
awk -v lines="$lines" -v floor="$floor" 'BEGIN { exit !(lines + 0 >= floor + 0) }' ||
  { echo "examples_coverage.sh: the tests run $lines% of the examples' lines, below the floor of $floor%" >&2; exit 1; }
