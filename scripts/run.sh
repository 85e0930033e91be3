#!/usr/bin/env bash
# The main job: set up, build, and run an example script in kite.
#   scripts/run.sh [EXAMPLE.js [ARGS...]]   (default: examples/player.js)
# examples/player.js plays the URI or path given after it through GStreamer,
# or without one a sample generated into build/media/; examples/tour.js runs
# on the simulated player.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >/dev/null
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j2 --target kite Tether >/dev/null
script=${1:-$root/examples/player.js}
[ $# -gt 0 ] && shift
adapter=gst
case $(basename "$script") in
  tour.js) adapter=sim ;;
  player.js)
    if [ $# -eq 0 ]; then
      sample=$root/build/media/sample.wav
      [ -f "$sample" ] || "$root/scripts/make-sample.sh" steps "$sample"
      set -- "$sample"
    fi
    ;;
esac
exec "$root/build/out/kite" --adapter=$adapter "$script" "$@"
