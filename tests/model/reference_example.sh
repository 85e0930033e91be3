#!/usr/bin/env bash
# The reference shows examples/film_network.test.js from its first statement
# on, in a block that the type check of the reference's examples leaves out
# (it needs kite test's globals): the file is checked and run, and the block
# must stay the file.
#   reference_example.sh REFERENCE.md EXAMPLE.js
set -euo pipefail
diff -u --label "$2" --label "$1" \
  <(sed -n '/^const openFilm/,$p' "$2") \
  <(awk '/^### A slow or failing network/ { section = 1 } section && /^```/ { if (inside) exit; inside = 1; next } inside' "$1")
