#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the project.
# Idempotent: packages already present are skipped by apt, V8 is unpacked
# only when its headers are missing, and TypeScript (for
# scripts/check-types.sh) is installed from the npm registry into
# .deps/typescript only when that version is missing.
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
  # run-time needs of Debian's libnode
  libicu72 libuv1 libssl3 libbrotli1 libc-ares2 libnghttp2-14 zlib1g
)
# Debian's Node.js only where there is none: another one may own the name.
command -v node >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ ! -f "$deps/libnode/usr/include/node/v8.h" ]; then
  apt-get update || true
fi
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# libnode-dev cannot be installed beside the machine's own Node.js, so V8
# is unpacked into the project instead and linked with an rpath.
if [ ! -f "$deps/libnode/usr/include/node/v8.h" ]; then
  mkdir -p "$deps/debs"
  (cd "$deps/debs" && apt-get download libnode108 libnode-dev)
  rm -rf "$deps/libnode.tmp"; mkdir -p "$deps/libnode.tmp"
  for d in "$deps"/debs/libnode*.deb; do dpkg-deb -x "$d" "$deps/libnode.tmp"; done
  rm -rf "$deps/libnode"; mv "$deps/libnode.tmp" "$deps/libnode"
fi

typescript=$deps/typescript
installed=$(node -p "require('$typescript/node_modules/typescript/package.json').version" 2>/dev/null || true)
if [ "$installed" != "$typescript_version" ]; then
  npm install --prefix "$typescript" --no-save --no-package-lock --no-audit --no-fund \
    "typescript@$typescript_version"
fi
echo "setup: done (V8 in $deps/libnode, TypeScript in $typescript)"
