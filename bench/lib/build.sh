# Sourced by the benchmark scripts: the set-up, a RelWithDebInfo build of the
# targets named in BENCH_TARGETS (default kite and Tether) in $build, and
# median. BENCH_BUILD_DIR chooses the build folder (default build-bench).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
"$root/scripts/setup.sh" >/dev/null
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target ${BENCH_TARGETS:-kite Tether} >/dev/null

# median: the middle of the numbers on stdin.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
