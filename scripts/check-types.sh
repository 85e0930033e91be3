#!/usr/bin/env bash
# Checks scripts against the type declarations in types/ with TypeScript
# (tsc --noEmit --checkJs), as set up by scripts/setup.sh:
#   scripts/check-types.sh [FILES...]
# Without FILES it checks examples/, the script tests that use only the
# public surface (tests/scripts/api_*.test.js) and the examples of the
# reference and the README. From a Markdown file (*.md) among FILES it checks
# each ```js block, as a script of its own in which `player` (a Tether),
# `adapter` and `position` are given; messages name the Markdown file and
# its line. Exits non-zero, with tsc's messages, when a script misuses the
# interface.
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
  files=("$root"/examples/*.js "$root"/tests/scripts/api_*.test.js "$root"/docs/script-api.md "$root"/README.md)
fi

# Each block becomes a script of its own, NAME.md@FENCE.js: blank lines up to
# the fence, so that its lines are the Markdown file's, then on the fence's
# line the names the examples take as given. Messages name the Markdown file.
extracted=$(mktemp -d)
trap 'rm -rf "$extracted"' EXIT
scripts=()
renames=()
for f in "${files[@]}"; do
  case $f in
    *.md)
      [ -r "$f" ] || { echo "check-types.sh: cannot read $f" >&2; exit 2; }
      name=$(basename "$f")
      awk -v out="$extracted/$name" '
        /^[ \t]*```js[ \t]*$/ { file = out "@" NR ".js"
          for (i = 1; i < NR; i++) print "" > file
          print "const player = new Tether(), adapter = 0; let position = 0;" > file; next }
        /^[ \t]*```/ && file != "" { close(file); file = ""; next }
        file != "" { print > file }' "$f"
      # tsc names files relative to the working folder.
      renames+=(-e "s|[^ ]*/${extracted##*/}/$name@[0-9]*\.js|$f|g") ;;
    *) scripts+=("$f") ;;
  esac
done
scripts+=("$extracted"/*.js)
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
  node "$tsc" "${options[@]}" "${declarations[@]}" "${scripts[@]}" | sed -e '' "${renames[@]}"
else
  node "$tsc" "${options[@]}" "${declarations[@]}" "${scripts[@]}" | sed -e 's/\x1b\[[0-9;]*m//g' "${renames[@]}"
fi
