#!/usr/bin/env bash
# Runs kite test (the command given) with --coverage-dir, twice into the same
# folder, and checks that DIR/lcov.info is EXPECTED each time, with ROOT for
# the folder the test files are in.
#   lcov.sh EXPECTED [EMULATOR...] KITE test ARGS...
set -u
expected=$1
shift
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=()
for round in 1 2; do
  "$@" --coverage-dir="$dir/made/here" >"$dir/out" 2>&1 || failures+=("round $round: exit status $?: $(cat "$dir/out")")
  sed "s|^SF:$PWD/|SF:ROOT/|" "$dir/made/here/lcov.info" >"$dir/lcov" 2>/dev/null
  diff -u "$expected" "$dir/lcov" >"$dir/diff" || failures+=("round $round: lcov.info differs: $(cat "$dir/diff")")
done
[ ${#failures[@]} -eq 0 ] && exit 0
printf '%s\n' "$*" "${failures[@]}" >&2
exit 1
