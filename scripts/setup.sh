#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the project:
# Debian packages, V8 (unpacked from Debian's libnode into .deps/libnode) and
# TypeScript (from the npm registry into .deps/typescript, for
# scripts/check-types.sh). Idempotent: each step runs only when its result is
# missing. It says what it does; the tools' own output goes to
# .deps/setup.log, shown when a step fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/.deps
typescript_version=6.0.3

packages=(
  cmake ninja-build pkg-config g++
  libglib2.0-dev libclutter-1.0-dev libjsoncpp-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libclang-rt-14-dev clang
  # the GStreamer player and the tools that make its test media
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
  # the Debian packages' dependencies (scripts/package.sh)
  dpkg-dev file
  # run-time needs of Debian's libnode
  libicu72 libuv1 libssl3 libbrotli1 libc-ares2 libnghttp2-14 zlib1g
)
# Debian's Node.js only where there is none: another one may own the name.
command -v node >/dev/null || packages+=(nodejs npm)

mkdir -p "$deps"
log=$deps/setup.log
: >"$log"

# step WHAT COMMAND...: says WHAT, runs COMMAND with its output in the log.
step() {
  local what=$1
  shift
  echo "setup: $what"
  if ! "$@" >>"$log" 2>&1; then
    echo "setup: failed: $what; the last lines of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ ! -f "$deps/libnode/usr/include/node/v8.h" ]; then
  # An unrelated broken source must not stop the rest.
  echo "setup: updating the package lists"
  apt-get update >>"$log" 2>&1 || echo "setup: apt-get update failed (see $log); going on"
fi
if [ ${#missing[@]} -gt 0 ]; then
  step "installing ${#missing[@]} packages: ${missing[*]}" \
    env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# libnode-dev cannot be installed beside the machine's own Node.js, so V8
# is unpacked into the project instead and linked with an rpath.
# (A step runs as a condition, where set -e does not act: each command checks.)
unpack_v8() {
  mkdir -p "$deps/debs" && (cd "$deps/debs" && apt-get download libnode108 libnode-dev) &&
    rm -rf "$deps/libnode.tmp" && mkdir -p "$deps/libnode.tmp" || return 1
  local d
  for d in "$deps"/debs/libnode*.deb; do
    dpkg-deb -x "$d" "$deps/libnode.tmp" || return 1
  done
  rm -rf "$deps/libnode" && mv "$deps/libnode.tmp" "$deps/libnode"
}
if [ ! -f "$deps/libnode/usr/include/node/v8.h" ]; then
  step "unpacking V8 from Debian's libnode into $deps/libnode" unpack_v8
fi

typescript=$deps/typescript
installed=$(node -p "require('$typescript/node_modules/typescript/package.json').version" 2>/dev/null || true)
if [ "$installed" != "$typescript_version" ]; then
  step "installing TypeScript $typescript_version into $typescript" \
    npm install --prefix "$typescript" --no-save --no-package-lock --no-audit --no-fund \
      "typescript@$typescript_version"
fi
echo "setup: done"
