#!/usr/bin/env bash
# The reference shows an example test file from its first statement on, in
# the first block under a heading, a block that the type check of the
# reference's examples leaves out (it needs kite test's globals): the file is
# checked and run, and the block must stay the file.
#   reference_example.sh REFERENCE.md HEADING EXAMPLE.js
set -euo pipefail
diff -u --label "$3" --label "$1" \
  <(sed -n '/^const openFilm/,$p' "$3") \
  <(awk -v heading="$2" '$0 == heading { section = 1 } section && /^```/ { if (inside) exit; inside = 1; next } inside' "$1")
