#!/usr/bin/env bash
# Checks scripts against the type declarations in types/ with TypeScript
# (tsc --noEmit --checkJs), as set up by scripts/setup.sh:
#   scripts/check-types.sh [FILES...]
# Scripts are checked against the public declarations; test files
# (*.test.js) also against those of kite test's globals (types/kite-test.d.ts).
# Without FILES it checks examples/ and the project's script tests that use
# only the public surface (tests/scripts/api_*.test.js, with the declarations
# of their own assertions). Exits non-zero, with tsc's messages, when a script
# misuses the interface.
set -uo pipefail
shopt -s nullglob
root=$(cd "$(dirname "$0")/.." && pwd)
tsc=$root/.deps/typescript/node_modules/typescript/bin/tsc
if [ ! -f "$tsc" ]; then
  echo "check-types.sh: TypeScript is missing; run scripts/setup.sh" >&2
  exit 2
fi

public=()
for d in "$root"/types/*.d.ts; do
  [ "$d" = "$root/types/kite-test.d.ts" ] || public+=("$d")
done
scripts=()
tests=()
project=()
if [ $# -eq 0 ]; then
  set -- "$root"/examples/*.js
  project=("$root"/tests/scripts/api_*.test.js)
fi
for f in "$@"; do
  case $f in *.test.js) tests+=("$f") ;; *) scripts+=("$f") ;; esac
done

# Strict, except that unannotated JavaScript may stay unannotated; each file
# has a scope of its own, as each script has in its run. Each
# message shows the offending line, so that it names the method called;
# colours only on a terminal.
options=(--noEmit --allowJs --checkJs --strict --noImplicitAny false --pretty true --target es2022 --lib es2022
  --moduleDetection force)
tsc_check() {
  if [ -t 1 ]; then
    node "$tsc" "${options[@]}" "$@"
  else
    node "$tsc" "${options[@]}" "$@" | sed 's/\x1b\[[0-9;]*m//g'
  fi
}
status=0
if [ ${#scripts[@]} -gt 0 ]; then tsc_check "${public[@]}" "${scripts[@]}" || status=1; fi
if [ ${#tests[@]} -gt 0 ]; then tsc_check "${public[@]}" "$root/types/kite-test.d.ts" "${tests[@]}" || status=1; fi
# The project's own script tests load their assertions with kite.load.
if [ ${#project[@]} -gt 0 ]; then
  tsc_check "${public[@]}" "$root/tests/scripts/lib/assert.d.ts" "${project[@]}" || status=1
fi
exit $status
