#!/usr/bin/env bash
# The plug-in on both V8 generations: drive.js runs in Node.js 0.12.18 (V8
# 3.28, the TV engine's) with the plug-in and engine library built for it,
# and in kite (V8 10.2) on the simulated player; what the two print must be
# the same, thread ids and addresses aside.
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
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

failed=0
# run NAME COMMAND...: the command's output (both streams) in $out/NAME.
run() {
  local name=$1 status
  shift
  timeout 120 "$@" >"$out/$name" 2>&1
  status=$?
  if [ $status -ne 0 ] || [ "$(tail -n 1 "$out/$name")" != "done" ]; then
    echo "check.sh: $name: exit status $status, or the script did not finish; its output:" >&2
    tail -n 20 "$out/$name" >&2
    failed=1
  fi
}
run v8-3.28 "$node" --expose-gc "$here/run.js" "$legacy/out/tether_node_host.node" \
  "$(find "$legacy/lib" -name libTether.so | head -n 1)" "$here/drive.js"
run v8-10.2 "$build/out/kite" --adapter=sim "$here/drive.js"
[ $failed -eq 0 ] || exit 1

mask() { sed -E 's/Thread Id:\[[0-9]+\]/Thread Id:[TID]/g; s/0x[0-9a-fA-F]+/0xADDR/g' "$1"; }
if ! diff -u <(mask "$out/v8-3.28") <(mask "$out/v8-10.2") >"$out/diff"; then
  echo "check.sh: the script printed differently on V8 3.28 (-) and V8 10.2 (+):" >&2
  head -n 60 "$out/diff" >&2
  exit 1
fi
echo "check.sh: the same $(wc -l <"$out/v8-3.28") lines on V8 3.28 ($("$node" -p process.versions.v8)) and V8 10.2," \
  "$(grep -c '^  log ' "$out/v8-3.28") of them log lines, $(grep -c '^  event ' "$out/v8-3.28") delivered events"
