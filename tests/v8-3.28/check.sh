#!/usr/bin/env bash
# The plug-in on both V8 generations:
# - drive.js runs in Node.js 0.12.18 (V8 3.28, the TV engine's) with the
#   plug-in and engine library built for it, and in kite (V8 10.2) on the
#   simulated player; what the two print must be the same, thread ids and
#   addresses aside;
# - builder.js prints the same with the bridge tests' plug-in, whose class is
#   made with each form of the class builder;
# - examples/tour.js, built by kite build --target=tv, prints on V8 3.28 what
#   its source prints in kite (tests/host/scripts/tour.out).
#   tests/v8-3.28/check.sh BUILD BUILD_V8_3_28
# BUILD holds kite (the desktop build), BUILD_V8_3_28 a build configured
# with -DTETHER_V8=3.28.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
[ $# -eq 2 ] || { echo "usage: $0 BUILD BUILD_V8_3_28" >&2; exit 2; }
build=$(cd "$1" && pwd)
legacy=$(cd "$2" && pwd)
node=$root/.deps/node-v0.12.18/bin/node
plugin=$(find "$legacy/lib" -name libTether.so | head -n 1)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# run NAME COMMAND...: the command's output (both streams) in $out/NAME;
# fails, showing its end, when the command does.
run() {
  local name=$1
  shift
  timeout 120 "$@" >"$out/$name" 2>&1 && return 0
  echo "check.sh: $name: exit status $?; its output ends:" >&2
  tail -n 20 "$out/$name" >&2
  return 1
}
# on_tv NAME SCRIPT: the script in Node.js 0.12.18 with the plug-in.
on_tv() { run "$1" "$node" --expose-gc "$root/host/v8-3.28/run.js" "$legacy/out/tether_node_host.node" "$plugin" "$2"; }
# same WHAT A B: the two outputs agree, thread ids and addresses masked.
same() {
  local mask='s/Thread Id:\[[0-9]+\]/Thread Id:[TID]/g; s/0x[0-9a-fA-F]+/0xADDR/g'
  diff -u <(sed -E "$mask" "$2") <(sed -E "$mask" "$3") >"$out/diff" && return 0
  echo "check.sh: $1 differently on V8 3.28 (-) and V8 10.2 (+):" >&2
  head -n 60 "$out/diff" >&2
  return 1
}

on_tv drive-3.28 "$here/drive.js" || exit 1
run drive-10.2 "$build/out/kite" --adapter=sim "$here/drive.js" || exit 1
[ "$(tail -n 1 "$out/drive-3.28")" = done ] || { echo "check.sh: drive.js did not finish on V8 3.28" >&2; exit 1; }
same "drive.js printed" "$out/drive-3.28" "$out/drive-10.2" || exit 1

# The class builder's forms through the bridge tests' plug-in, built for each.
run builder-3.28 "$node" --expose-gc "$root/host/v8-3.28/run.js" "$legacy/out/tether_node_host.node" \
  "$legacy/out/libKiteTestPlugin.so" "$here/builder.js" || exit 1
run builder-10.2 "$build/out/kite" --adapter=sim --plugin="$build/out/libKiteTestPlugin.so" "$here/builder.js" || exit 1
[ "$(tail -n 1 "$out/builder-3.28")" = done ] || { echo "check.sh: builder.js did not finish on V8 3.28" >&2; exit 1; }
same "builder.js printed" "$out/builder-3.28" "$out/builder-10.2" || exit 1

run tour-build "$build/out/kite" build --target=tv --out="$out/tour" "$root/examples/tour.js" || exit 1
on_tv tour-3.28 "$out/tour/tour.js" || exit 1
same "examples/tour.js, built for the TV, printed" "$out/tour-3.28" "$root/tests/host/scripts/tour.out" || exit 1

echo "check.sh: the same $(wc -l <"$out/drive-3.28") lines of drive.js on V8 3.28 ($("$node" -p process.versions.v8))" \
  "and V8 10.2, $(grep -c '^  log ' "$out/drive-3.28") of them log lines, $(grep -c '^  event ' "$out/drive-3.28")" \
  "delivered events; the same $(wc -l <"$out/builder-3.28") lines of builder.js;" \
  "examples/tour.js built for the TV: the same $(wc -l <"$out/tour-3.28") lines as in kite"
