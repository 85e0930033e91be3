#!/usr/bin/env bash
# Builds the Debian packages with CPack:
#   scripts/package.sh [BUILD_DIR [OUT_DIR]]   (default: build/ and BUILD_DIR/packages/)
# tether_VERSION_ARCH.deb holds kite, the libraries, the plug-in, the script
# reference and the type declarations; tether-dev_VERSION_ARCH.deb the
# headers, the CMake package and the pkg-config file. Sets up, configures and
# builds first, as scripts/run.sh does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/packages}
say() { echo "package.sh: $*"; }

"$root/scripts/setup.sh"
say "configuring and building $build"
if ! configured=$(cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo 2>&1); then
  printf '%s\n' "$configured" >&2
  exit 1
fi
cmake --build "$build" -j2 --target kite Tether
say "packing into $out"
rm -f "$out"/*.deb
if ! packed=$(cd "$build" && cpack -G DEB -B "$out" 2>&1); then
  printf '%s\n' "$packed" >&2
  exit 1
fi
ls "$out"/*.deb
