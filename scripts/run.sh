#!/usr/bin/env bash
# The main job: set up, build, and run an example script in kite.
#   scripts/run.sh [EXAMPLE.js [ARGS...]]   (default: examples/tour.js)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >/dev/null
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j2 --target kite Tether >/dev/null
script=${1:-$root/examples/tour.js}
[ $# -gt 0 ] && shift
exec "$root/build/out/kite" --adapter=sim "$script" "$@"
