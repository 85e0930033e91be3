#!/usr/bin/env bash
# Runs the command given, sends it SIGNAL once it has started, and checks
# that it ends with STATUS, printing nothing more. Started, for kite test
# (WHEN is "run"): a file's run, its child process, is there, and no tally
# may follow. For kite (WHEN is its --log file): it has printed "ready", and
# the log must show its player destroyed.
#   interrupted.sh SIGNAL STATUS run|LOG [EMULATOR...] KITE ARGS...
set -u
signal=$1 expected=$2 when=$3
shift 3
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
[ "$when" = run ] || rm -f "$when"
"$@" >"$out" 2>"$err" &
pid=$!
# Processes come and go while /proc is read: cat passes over those gone.
started() {
  if [ "$when" = run ]; then
    cat /proc/[0-9]*/stat 2>/dev/null | awk -v parent="$pid" '$4 == parent { found = 1 } END { exit !found }'
  else
    grep -q ready "$out"
  fi
}
failures=("not started in 30 s")
for _ in $(seq 300); do started && failures=() && break; sleep 0.1; done
kill -s "$signal" "$pid"
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$pid" 2>/dev/null && failures+=("still running 20 s after the signal")
wait "$pid"
status=$?
[ "$status" = "$expected" ] || failures+=("exit status $status, expected $expected")
if [ "$when" = run ]; then
  cat "$out" "$err" | grep -q "passed, " && failures+=("a tally after the signal: $(cat "$out" "$err")")
else
  [ "$(cat "$out")" = ready ] || failures+=("stdout: $(cat "$out")")
  [ -s "$err" ] && failures+=("stderr: $(cat "$err")")
  grep -q "End to destroy CPlayerAgent" "$when" || failures+=("the log shows no destruction")
fi
[ ${#failures[@]} -eq 0 ] && exit 0
printf '%s\n' "$*" "${failures[@]}" >&2
exit 1
