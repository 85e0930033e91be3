#!/usr/bin/env bash
# kite test --watch (the command given, without it and a folder) on a copy
# of the tests of SOURCE: each row is a change and the files that run again
# for it; with COVERAGE (--coverage, or empty in a build without it) each
# round also has its coverage table. Then Ctrl-C ends it with 130. SIGTERM
# ends it with 143, a folder named that vanishes or holds no test file any
# more with 2. The waits are bounds against a hang, not timings.
#   watch.sh SOURCE COVERAGE [EMULATOR...] KITE test ARGS...
set -u
source=$1 coverage=$2
shift 2
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
"$@" --watch $coverage "$tmp/app" >"$tmp/out" 2>"$tmp/err" &
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
# Each round's table counts that round's files: the line % of shapes.js.
shares=$(awk -F'|' '$1 ~ /lib\/shapes[.]js *$/ { gsub(/ /, "", $2); printf "%s ", $2 }' "$tmp/out")
[ -z "$coverage" ] || [ "$shares" = "78.95 36.84 78.95 63.16 78.95 " ] ||
  failures+=("shapes.js's line % by round: $shares")
waits=$(grep -c '^kite test --watch: waiting for changes (Ctrl-C ends)$' "$tmp/err")
[ "$waits" = "$n" ] || failures+=("$waits waiting lines for $n rounds: $(cat "$tmp/err")")
kill -INT "$pid"
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
status=$?
[ "$status" = 130 ] || failures+=("exit status $status after Ctrl-C, expected 130")

# Each row: what happens to the folder named, the status and what stderr ends with.
rows=(
  "rm -rf \"\$tmp/gone\"|2|kite: --watch: cannot find $tmp/gone: No such file or directory"
  "rm \"\$tmp/gone/area.test.js\"|2|kite: --watch: no *.test.js under $tmp/gone"
  "kill -TERM \$pid|143|kite test --watch: waiting for changes (Ctrl-C ends)"
)
for row in "${rows[@]}"; do
  IFS='|' read -r change expected message <<<"$row"
  mkdir -p "$tmp/gone"
  cp -r "$source/area.test.js" "$source/lib" "$tmp/gone/"
  # No tally of the run before may be taken for this one's.
  rm -f "$tmp/out" "$tmp/err"
  touch "$tmp/out" "$tmp/err"
  "$@" --watch "$tmp/gone" >"$tmp/out" 2>"$tmp/err" &
  pid=$!
  wait_tallies 1 || failures+=("$change: no first report: $(cat "$tmp/out" "$tmp/err")")
  eval "$change"
  for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  wait "$pid"
  status=$?
  [ "$status" = "$expected" ] || failures+=("$change: exit status $status, expected $expected")
  [ "$(tail -n 1 "$tmp/err")" = "$message" ] || failures+=("$change: stderr: $(cat "$tmp/err")")
  rm -rf "$tmp/gone"
done

[ ${#failures[@]} -eq 0 ] && exit 0
printf '%s\n' "$*" "${failures[@]}" >&2
exit 1
