#!/usr/bin/env bash
# Runs kite, sends it SIGNAL once it has printed "ready", and checks that it
# ends with STATUS, printing nothing more, after destroying its player (LOG).
#   interrupted.sh SIGNAL STATUS LOG [EMULATOR...] KITE ARGS...
set -u
signal=$1 expected=$2 log=$3
shift 3
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
rm -f "$log"
"$@" >"$out" 2>"$err" &
pid=$!
for _ in $(seq 300); do grep -q ready "$out" && break; sleep 0.1; done
kill -s "$signal" "$pid"
failures=()
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$pid" 2>/dev/null && failures+=("still running 20 s after the signal")
wait "$pid"
status=$?
[ "$status" = "$expected" ] || failures+=("exit status $status, expected $expected")
[ "$(cat "$out")" = ready ] || failures+=("stdout: $(cat "$out")")
[ -s "$err" ] && failures+=("stderr: $(cat "$err")")
grep -q "End to destroy CPlayerAgent" "$log" || failures+=("the log shows no destruction")
[ ${#failures[@]} -eq 0 ] && exit 0
printf '%s\n' "$*" "${failures[@]}" >&2
exit 1
