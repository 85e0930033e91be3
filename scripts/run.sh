#!/usr/bin/env bash
# The main job: set up, build, and run an example script in kite.
#   scripts/run.sh [EXAMPLE.js [ARGS...]]   (default: examples/player.js)
# examples/player.js plays the URI or path given after it through GStreamer,
# or without one a sample generated into build/media/; examples/tour.js runs
# on the simulated player. It says what it does; the output of set-up and
# configuration is shown only when they fail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
say() { echo "run.sh: $*"; }

say "checking and installing what the build needs (scripts/setup.sh)"
"$root/scripts/setup.sh"

say "configuring build/"
if ! configured=$(cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo 2>&1); then
  printf '%s\n' "$configured" >&2
  exit 1
fi
say "building kite and the plug-in (about a minute the first time)"
cmake --build "$root/build" -j2 --target kite Tether

script=${1:-$root/examples/player.js}
[ $# -gt 0 ] && shift
adapter=gst
case $(basename "$script") in
  tour.js) adapter=sim ;;
  player.js)
    if [ $# -eq 0 ]; then
      sample=$root/build/media/sample.wav
      if [ ! -f "$sample" ]; then
        say "making a sample to play: $sample"
        "$root/scripts/make-sample.sh" steps "$sample"
      fi
      set -- "$sample"
    fi
    ;;
esac
say "running: kite --adapter=$adapter $script${*:+ $*}"
exec "$root/build/out/kite" --adapter=$adapter "$script" "$@"
