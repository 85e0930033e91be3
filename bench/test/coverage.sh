#!/usr/bin/env bash
# What kite test --coverage costs: the wall time of kite test with and
# without it, in one run, side by side, on examples/film.test.js and on the
# project's own kite test files (the runner's self-checks, the coverage
# tests' app and the examples').
#   bench/test/coverage.sh [RUNS]     (default 9 runs of each form; medians)
# BENCH_BUILD_DIR chooses the build folder (default build-bench). Exits 1
# when --coverage takes more than 1.5 times as long.
set -euo pipefail
runs=${1:-9}
source "$(dirname "$0")/../lib/build.sh"
kite=("$build/out/kite" test --plugin="$(find "$build" -name libTether.so -path '*plugins*' | head -n 1)")
cd "$root"

# seconds COMMAND...: its wall time; the command must pass.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || { echo "coverage.sh: failed: $*" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v r="$1" 'BEGIN { print (r <= 1.5) ? "met" : "MISSED" }'; }

film=(examples/film.test.js)
# The runner's self-checks keep real time on the simulated player, as
# tests/host/runner/RunnerRuns.cmake runs them; the rest the defaults.
runner=(tests/host/runner/assert.test.js tests/host/runner/declare.test.js tests/host/runner/fresh.test.js
        tests/host/runner/load.test.js)
apps=(tests/host/coverage/area.test.js tests/host/coverage/perimeter.test.js examples/film.test.js
      examples/film_network.test.js)
project() { "${kite[@]}" "$@" --adapter=sim "${runner[@]}" && "${kite[@]}" "$@" "${apps[@]}"; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Alternately, so that the machine's drift touches both forms alike.
for ((i = 0; i < runs; ++i)); do
  seconds "${kite[@]}" "${film[@]}" >>"$tmp/film"
  seconds "${kite[@]}" --coverage "${film[@]}" >>"$tmp/film_coverage"
  seconds project >>"$tmp/project"
  seconds project --coverage >>"$tmp/project_coverage"
done
film_plain=$(median <"$tmp/film"); film_coverage=$(median <"$tmp/film_coverage")
project_plain=$(median <"$tmp/project"); project_coverage=$(median <"$tmp/project_coverage")
film_ratio=$(ratio "$film_coverage" "$film_plain")
project_ratio=$(ratio "$project_coverage" "$project_plain")

cat <<TABLE
| Figure | Without | --coverage | Ratio | Target | |
|---|---:|---:|---:|---|---|
| kite test examples/film.test.js, s | $film_plain | $film_coverage | $film_ratio | <= 1.5 | $(verdict "$film_ratio") |
| kite test over the project's $((${#runner[@]} + ${#apps[@]})) kite test files, s | $project_plain | $project_coverage | $project_ratio | <= 1.5 | $(verdict "$project_ratio") |
TABLE
echo "Medians of $runs runs of each form, run alternately. Machine: $(nproc) cores, load average $(cut -d' ' -f1 /proc/loadavg) at the end"
[ "$(verdict "$film_ratio")" = met ] && [ "$(verdict "$project_ratio")" = met ]
