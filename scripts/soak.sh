#!/usr/bin/env bash
# The soak: OBJECTS Tether objects (default 100000) created, used and
# destroyed (or left to the collector) while events flow, in the plain build;
# prints the resident size every 10000 objects and fails when it moves by
# more than 1 MiB after a warm-up of 10000 objects (bench/soak/soak.js says
# how readings are taken):
#   scripts/soak.sh [OBJECTS]
# BUILD_DIR chooses the build folder (default build, shared with
# scripts/test.sh).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
objects=${1:-100000}
if ! [[ $objects =~ ^[1-9][0-9]*$ ]] || [ "$objects" -lt 20000 ]; then
  echo "usage: $0 [OBJECTS]  (20000 or more)" >&2
  exit 2
fi

"$root/scripts/setup.sh" >/dev/null || { echo "soak.sh: set-up failed" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build "$build" --target kite Tether SoakPlugin -j2 >/dev/null ||
  { echo "soak.sh: build failed in $build" >&2; exit 1; }
# GLib's slice allocator keeps freed slices in caches of its own, which the
# soak's readings could not tell from memory kept; plain malloc can.
export G_SLICE=always-malloc
exec "$build/out/kite" --plugin="$build/lib/kite/plugins/libTether.so" --plugin="$build/out/libSoakPlugin.so" \
  "$root/bench/soak/soak.js" "$objects"
