#!/usr/bin/env bash
# What each test's clean start costs: the CPU time (user and system, kite
# test's processes together) of one file of 100 tests that each make a
# player, prepare a film and destroy it, on the model player and virtual
# time, against a file of 100 empty tests, in one run (medians).
#   bench/test/hundred.sh [RUNS]     (default 9 runs of each file)
# BENCH_BUILD_DIR chooses the build folder (default build-bench). Exits 1
# when the file of players takes a second of CPU or more.
set -euo pipefail
runs=${1:-9}
source "$(dirname "$0")/../lib/build.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# write FILE BODY: 100 tests of that body.
write() {
  cat >"$1" <<JS
sim.media("film.mp4", { duration: 60000 });
for (let i = 0; i < 100; i++) {
  test("test " + i, () => {
    $2
  });
}
JS
}
write "$tmp/players.js" 'const player = new Tether();
    player.player_create();
    player.player_set_uri({ param_url: "film.mp4" });
    player.player_prepare();
    kite.destroy(player);'
write "$tmp/empty.js" ''

# cpu FILE: the CPU seconds of kite test on it, which must pass its 100 tests.
cpu() {
  local TIMEFORMAT='%3U %3S' times
  times=$( { time "$build/out/kite" test "$1" >"$tmp/out" 2>&1; } 2>&1 )
  grep -q '^100 passed, 0 failed$' "$tmp/out" || { cat "$tmp/out" >&2; exit 2; }
  awk '{ print $1 + $2 }' <<<"$times"
}

players=() empty=()
for _ in $(seq "$runs"); do
  players+=("$(cpu "$tmp/players.js")")
  empty+=("$(cpu "$tmp/empty.js")")
done
p=$(printf '%s\n' "${players[@]}" | median)
e=$(printf '%s\n' "${empty[@]}" | median)
printf '%-40s %10s %10s\n' "100 tests, each" "CPU (s)" "ratio"
printf '%-40s %10.3f %10s\n' "empty" "$e" "1.00"
printf '%-40s %10.3f %10.2f\n' "makes, prepares and destroys a player" "$p" "$(awk -v p="$p" -v e="$e" 'BEGIN { print p / e }')"
awk -v p="$p" 'BEGIN { exit !(p >= 1) }' && exit 1
exit 0
