#!/usr/bin/env bash
# Checks scripts against the type declarations in types/ with TypeScript
# (tsc --noEmit --checkJs), as set up by scripts/setup.sh:
#   scripts/check-types.sh [FILES...]
# Scripts are checked against the public declarations; test files
# (*.test.js) also against those of kite test's globals (types/kite-test.d.ts).
# From a Markdown file (*.md) it checks each ```js block, as a script of its
# own in which `player` (a Tether), `adapter` and `position` are given and
# which sits beside examples/' files, as the worked example's test does;
# messages name the Markdown file and its line. Without FILES it checks
# examples/, the examples of every Markdown file of docs/ and README.md, and the
# project's script tests that use only the public surface
# (tests/tether/api_*.test.js, with the declarations of their own
# assertions). Exits non-zero, with tsc's messages, when a script misuses the
# interface.
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
  set -- "$root"/examples/*.js "$root"/docs/*.md "$root"/README.md
  project=("$root"/tests/tether/api_*.test.js)
fi
# Each Markdown block becomes a script of its own, NAME.md@FENCE.js: blank
# lines up to the block, so that its lines are the Markdown file's.
extracted=$(mktemp -d)
trap 'rm -rf "$extracted"' EXIT
ln -s "$root"/examples/*.js "$extracted/"
printf '%s\n' "declare const player: Tether;" "declare const adapter: number;" "declare let position: number;" \
  >"$extracted/given.d.ts"
blocks=()
renames=()
for f in "$@"; do
  case $f in
    *.md)
      [ -r "$f" ] || { echo "check-types.sh: cannot read $f" >&2; exit 2; }
      name=$(basename "$f")
      while read -r block; do blocks+=("$block"); done < <(awk -v out="$extracted/$name" '
        /^[ \t]*```js[ \t]*$/ { file = out "@" NR ".js"; print file
          for (i = 1; i <= NR; i++) print "" > file
          next }
        /^[ \t]*```/ && file != "" { close(file); file = ""; next }
        file != "" { print > file }' "$f")
      # tsc names files relative to the working folder.
      renames+=(-e "s|[^ ]*/${extracted##*/}/$name@[0-9]*\.js|$f|g") ;;
    *.test.js) tests+=("$f") ;;
    *) scripts+=("$f") ;;
  esac
done

# Strict, except that unannotated JavaScript may stay unannotated; each file
# has a scope of its own, as each script has in its run. Each
# message shows the offending line, so that it names the method called;
# colours only on a terminal.
options=(--noEmit --allowJs --checkJs --strict --noImplicitAny false --pretty true --target es2022 --lib es2022
  --moduleDetection force)
tsc_check() {
  if [ -t 1 ]; then
    node "$tsc" "${options[@]}" "$@" | sed -e '' "${renames[@]}"
  else
    node "$tsc" "${options[@]}" "$@" | sed -e 's/\x1b\[[0-9;]*m//g' "${renames[@]}"
  fi
}
status=0
if [ ${#scripts[@]} -gt 0 ]; then tsc_check "${public[@]}" "${scripts[@]}" || status=1; fi
if [ ${#blocks[@]} -gt 0 ]; then tsc_check "${public[@]}" "$extracted/given.d.ts" "${blocks[@]}" || status=1; fi
if [ ${#tests[@]} -gt 0 ]; then tsc_check "${public[@]}" "$root/types/kite-test.d.ts" "${tests[@]}" || status=1; fi
# The project's own script tests load their assertions with kite.load.
if [ ${#project[@]} -gt 0 ]; then
  tsc_check "${public[@]}" "$root/tests/support/lib/assert.d.ts" "${project[@]}" || status=1
fi
exit $status
