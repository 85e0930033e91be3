#!/usr/bin/env bash
# Checks scripts against the type declarations in types/ with TypeScript
# (tsc --noEmit --checkJs), as set up by scripts/setup.sh:
#   scripts/check-types.sh [FILES...]
# Without FILES it checks examples/ and the script tests that use only the
# public surface (tests/scripts/api_*.test.js). Exits non-zero, with tsc's
# messages, when a script misuses the interface.
set -uo pipefail
shopt -s nullglob
root=$(cd "$(dirname "$0")/.." && pwd)
tsc=$root/.deps/typescript/node_modules/typescript/bin/tsc
if [ ! -f "$tsc" ]; then
  echo "check-types.sh: TypeScript is missing; run scripts/setup.sh" >&2
  exit 2
fi

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  files=("$root"/examples/*.js "$root"/tests/scripts/api_*.test.js)
fi
declarations=("$root"/types/*.d.ts)
# The script tests load their assertions with kite.load.
for f in "${files[@]}"; do
  case $f in *.test.js) declarations+=("$root/tests/scripts/lib/assert.d.ts"); break ;; esac
done

# Strict, except that unannotated JavaScript may stay unannotated; each file
# has a scope of its own, as each script has in its run. Each
# message shows the offending line, so that it names the method called;
# colours only on a terminal.
options=(--noEmit --allowJs --checkJs --strict --noImplicitAny false --pretty true --target es2022 --lib es2022
  --moduleDetection force)
if [ -t 1 ]; then
  node "$tsc" "${options[@]}" "${declarations[@]}" "${files[@]}"
else
  node "$tsc" "${options[@]}" "${declarations[@]}" "${files[@]}" | sed 's/\x1b\[[0-9;]*m//g'
fi
