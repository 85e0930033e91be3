#!/usr/bin/env bash
# Runs kite test (the command given), sends SIGNAL to it once it has started
# a file's run, and checks that it ends with STATUS without a tally.
#   interrupt.sh SIGNAL STATUS [EMULATOR...] KITE test ARGS...
set -u
signal=$1 expected=$2
shift 2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1 &
pid=$!
# A file's run is a child process of kite test.
started=
for _ in $(seq 300); do
  awk -v parent="$pid" '$4 == parent { found = 1 } END { exit !found }' /proc/[0-9]*/stat 2>/dev/null && started=1 && break
  sleep 0.1
done
[ -n "$started" ] || { echo "no file's run started in 30 s" >&2; kill -KILL "$pid"; exit 1; }
kill -s "$signal" "$pid"
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$pid" 2>/dev/null && { echo "still running 20 s after the signal" >&2; exit 1; }
wait "$pid"
status=$?
failures=()
[ "$status" = "$expected" ] || failures+=("exit status $status, expected $expected")
grep -q "passed, " "$out" && failures+=("a tally after the signal: $(cat "$out")")
[ ${#failures[@]} -eq 0 ] && exit 0
printf '%s\n' "$*" "${failures[@]}" >&2
exit 1
