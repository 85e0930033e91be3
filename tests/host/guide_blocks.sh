#!/usr/bin/env bash
# A guide shows its example's code: each ```cpp, ```cmake and ```javascript
# block of GUIDE.md must appear, line for line and in one piece, in one of
# the FILES.
#   guide_blocks.sh GUIDE.md FILE...
set -uo pipefail
guide=$1
shift
awk '
  FNR == 1 { file++ }
  file <= NARGS { text[file] = text[file] $0 "\n"; next }
  /^```(cpp|cmake|javascript)$/ { inside = 1; block = ""; start = FNR + 1; next }
  inside && /^```$/ {
    inside = 0; blocks++
    found = 0
    for (f = 1; f <= NARGS; f++) if (index(text[f], block)) found = 1
    if (!found) { printf "%s:%d: this block is in none of the example'"'"'s files:\n%s", FILENAME, start, block; missing++ }
    next
  }
  inside { block = block $0 "\n" }
  END {
    if (blocks == 0) { print FILENAME ": no code blocks"; exit 1 }
    printf "%d blocks, %d missing\n", blocks, missing
    exit missing > 0
  }' NARGS=$# "$@" "$guide"
