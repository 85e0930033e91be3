#!/usr/bin/env bash
# Builds and runs the benchmark program: each figure of the plug-in beside
# its bare baseline (V8/GLib, or the bridge library without the plug-in)
# measured in the same process, and their ratio.
#   scripts/bench.sh [--quick] [--only=calls|events|memory] [--benchmark_...]
# BENCH_BUILD_DIR chooses the build folder (default build-bench). Takes about
# a minute and a half; exits 1 when a figure misses its target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
"$root/scripts/setup.sh" >/dev/null
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target tether_bench >/dev/null
exec "$build/out/tether_bench" "$@"
