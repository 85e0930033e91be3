#!/usr/bin/env bash
# kite test --watch (the command given, without --watch and a folder) on a
# copy of the tests of SOURCE: each row is a change and the files that run
# again for it; then Ctrl-C ends it with 130. A folder named that vanishes
# ends it with 2. The waits are bounds against a hang, not timings.
#   watch.sh SOURCE [EMULATOR...] KITE test ARGS...
set -u
source=$1
shift
tmp=$(mktemp -d)
trap 'kill -KILL "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
failures=()

# wait_tallies N: until the output holds N tallies or kite has ended.
wait_tallies() {
  for _ in $(seq 600); do
    [ "$(grep -c ' passed, ' "$tmp/out")" -ge "$1" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
# round N: the report of the Nth round.
round() { awk -v n="$1" '/ passed, / { ++seen; next } seen == n - 1' "$tmp/out"; }

mkdir -p "$tmp/app"
cp -r "$source/area.test.js" "$source/perimeter.test.js" "$source/lib" "$tmp/app/"
"$@" --watch "$tmp/app" >"$tmp/out" 2>"$tmp/err" &
pid=$!
wait_tallies 1 || failures+=("no first report: $(cat "$tmp/out" "$tmp/err")")
# Each row: the change, then the files that run again (in order), by name.
rows=(
  "echo '// edited' >>perimeter.test.js|perimeter.test.js"
  "echo '// edited' >>lib/sides.js|area.test.js perimeter.test.js"
  "cp area.test.js new.test.js|new.test.js"
  "mv lib/shapes.js lib/old.js && cp lib/old.js lib/shapes.js|area.test.js new.test.js perimeter.test.js"
)
n=1
for row in "${rows[@]}"; do
  change=${row%%|*} expected=${row#*|}
  n=$((n + 1))
  (cd "$tmp/app" && eval "$change")
  if ! wait_tallies "$n"; then
    failures+=("$change: no report: $(cat "$tmp/out" "$tmp/err")")
    break
  fi
  ran=$(round "$n" | sed -n "s|^$tmp/app/\([a-z_]*[.]test[.]js\)$|\1|p" | tr '\n' ' ')
  [ "$ran" = "$expected " ] || failures+=("$change: ran '$ran', expected '$expected '")
  round "$n" | grep -q '^  pass ' || failures+=("$change: no test passed: $(round "$n")")
done
kill -INT "$pid"
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
status=$?
[ "$status" = 130 ] || failures+=("exit status $status after Ctrl-C, expected 130")

# The folder named goes.
mkdir -p "$tmp/gone"
cp -r "$source/area.test.js" "$source/lib" "$tmp/gone/"
"$@" --watch "$tmp/gone" >"$tmp/out" 2>"$tmp/err" &
pid=$!
wait_tallies 1 || failures+=("no first report in gone: $(cat "$tmp/out" "$tmp/err")")
rm -rf "$tmp/gone"
for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
status=$?
[ "$status" = 2 ] || failures+=("exit status $status when the folder went, expected 2")
grep -q "^kite: --watch: cannot find $tmp/gone: No such file or directory$" "$tmp/err" ||
  failures+=("stderr when the folder went: $(cat "$tmp/err")")

[ ${#failures[@]} -eq 0 ] && exit 0
printf '%s\n' "$*" "${failures[@]}" >&2
exit 1
