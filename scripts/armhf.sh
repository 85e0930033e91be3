#!/usr/bin/env bash
# Cross-builds the project for 32-bit ARM (armhf) and runs its tests under
# qemu-user, and compiles the plug-in against V8 3.28 for the TV's engine:
#   scripts/armhf.sh              every test: C++ tests and script tests
#   scripts/armhf.sh --cxx-only   only the C++ (GoogleTest) tests
#   scripts/armhf.sh --build-only build, run nothing
# The armhf libraries come from Debian packages unpacked into .deps/armhf/
# with a private apt configuration: nothing armhf is installed on the machine.
# ARMHF_BUILD_DIR chooses another build folder (default build-armhf/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/.deps/armhf
sysroot=$deps/sysroot
build=${ARMHF_BUILD_DIR:-$root/build-armhf}

mode=all
case "${1:-}" in
  "") ;;
  --cxx-only) mode=cxx ;;
  --build-only) mode=build ;;
  *) echo "usage: $0 [--cxx-only|--build-only]" >&2; exit 2 ;;
esac

host_packages=(g++-arm-linux-gnueabihf qemu-user-static cmake ninja-build pkg-config)

# The armhf packages of the sysroot. Dependencies are listed by hand: apt's
# own closure would pull in nodejs, python3, perl, systemd and Mesa's LLVM.
sysroot_packages=(
  # C/C++ run time, for the loader that qemu -L uses
  libc6 libgcc-s1 libstdc++6
  # V8 (libnode) and its run-time libraries
  libnode108 libnode-dev libbrotli1 libc-ares2 libicu72 libnghttp2-14 libssl3 libuv1 zlib1g
  libjsoncpp25 libjsoncpp-dev
  libglib2.0-0 libglib2.0-dev libpcre2-8-0 libffi8 libmount1 libselinux1 libblkid1
  # named by the Requires.private of glib, gobject and gio, which pkg-config checks
  libpcre2-dev libpcre2-16-0 libpcre2-32-0 libpcre2-posix3 libffi-dev zlib1g-dev
  libmount-dev libblkid-dev libselinux1-dev libsepol-dev
  libgtest-dev libgmock-dev googletest
  # Clutter's headers and those they include (see cmake/armhf/clutter-1.0.pc)
  libclutter-1.0-dev libcogl-dev libcairo2-dev libpango1.0-dev libharfbuzz-dev libatk1.0-dev libjson-glib-dev
  # the libraries libclutter-1.0.so.0 loads, directly or through each other
  libclutter-1.0-0 libatk-bridge2.0-0 libatk1.0-0 libatspi2.0-0 libbsd0 libcairo-gobject2 libcairo2 libcap2
  libcogl-pango20 libcogl-path20 libcogl20 libdatrie1 libdbus-1-3 libdeflate0 libdrm2 libegl-mesa0
  libegl1 libepoxy0 libevdev2 libexpat1 libfontconfig1 libfreetype6 libfribidi0 libgbm1 libgcrypt20
  libgdk-pixbuf-2.0-0 libglapi-mesa libgles2 libglvnd0 libgmp10 libgnutls30 libgpg-error0 libgraphite2-3
  libgtk-3-0 libgudev-1.0-0 libharfbuzz0b libhogweed6 libidn2-0 libinput10 libjbig0 libjpeg62-turbo
  libjson-c5 libjson-glib-1.0-0 liblcms2-2 liblerc4 liblz4-1 libmd0 libmtdev1 libnettle8 libp11-kit0
  libpango-1.0-0 libpangocairo-1.0-0 libpangoft2-1.0-0 libpixman-1-0 libpng16-16 libsystemd0 libtasn1-6
  libthai0 libtiff6 libudev1 libunistring2 libwacom9 libwayland-client0 libwayland-cursor0 libwayland-egl1
  libwayland-server0 libwebp7 libx11-6 libx11-xcb1 libxau6 libxcb-dri2-0 libxcb-dri3-0 libxcb-present0
  libxcb-randr0 libxcb-render0 libxcb-shm0 libxcb-sync1 libxcb-xfixes0 libxcb1 libxcomposite1 libxcursor1
  libxdamage1 libxdmcp6 libxext6 libxfixes3 libxi6 libxinerama1 libxkbcommon0 libxml2 libxrandr2
  libxrender1 libxshmfence1
)

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(seconds)" 'BEGIN { printf "%.1f", b - a }'; }
t_start=$(seconds)

install_host_tools() {
  local missing=() p
  for p in "${host_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "== armhf: installing host tools: ${missing[*]}"
  apt-get update || true   # an unrelated broken source must not stop us
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Prints "URI KEYRING" of the machine's Debian archive for SUITE, read from
# its apt sources (one-line and deb822 formats).
debian_mirror() {
  local suite=$1 f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in
      *.sources)
        awk -v suite="$suite" '
          function flush() {
            if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && enabled != "no" && uri != "")
              { print uri, (key == "" ? "-" : key); found = 1; exit }
            types = suites = uri = key = enabled = ""
          }
          /^[ \t]*#/ { next }
          /^[ \t]*$/ { flush(); next }
          { field = tolower($1); sub(/:$/, "", field); $1 = ""; sub(/^ +/, "") }
          field == "types" { types = $0 }
          field == "suites" { suites = $0 }
          field == "uris" { split($0, u, " "); uri = u[1] }
          field == "signed-by" { key = $0 }
          field == "enabled" { enabled = tolower($0) }
          END { if (!found) flush() }' "$f" ;;
      *)
        awk -v suite="$suite" '
          $1 == "deb" {
            i = 2; key = "-"
            if ($2 ~ /^\[/) {
              for (; i <= NF; i++) {
                if ($i ~ /^\[?signed-by=/) { key = $i; sub(/^\[?signed-by=/, "", key); sub(/\]$/, "", key) }
                if ($i ~ /\]$/) { i++; break }
              }
            }
            if ($(i + 1) == suite) { print $i, key; exit }
          }' "$f" ;;
    esac
  done | head -n 1
}

make_sysroot() {
  local stamp=$deps/sysroot.packages
  local wanted
  wanted=$(printf '%s\n' "${sysroot_packages[@]}" | sort)
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ] && [ -d "$sysroot/usr/lib/arm-linux-gnueabihf" ]; then
    echo "== armhf: sysroot present ($sysroot)"
    return
  fi
  local codename mirror uri key
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  mirror=$(debian_mirror "$codename")
  [ -n "$mirror" ] || { echo "armhf.sh: no Debian source for $codename in /etc/apt" >&2; exit 1; }
  read -r uri key <<<"$mirror"
  [ "$key" = "-" ] && key=/usr/share/keyrings/debian-archive-keyring.gpg
  echo "== armhf: making the sysroot from $uri $codename"

  # A private apt state: armhf indexes that the machine's apt never sees.
  # Only the release and its updates: the security archive's armhf index
  # has been seen out of sync with its release file on this mirror.
  local a=$deps/apt
  mkdir -p "$a"/lists/partial "$a"/cache/archives/partial "$a"/etc/apt.conf.d "$a"/etc/preferences.d \
           "$a"/etc/sources.list.d "$deps"/debs
  : > "$a"/status
  cat > "$a"/etc/sources.list <<EOF
deb [arch=armhf signed-by=$key] $uri $codename main
deb [arch=armhf signed-by=$key] $uri $codename-updates main
EOF
  cat > "$a"/apt.conf <<EOF
APT::Architecture "armhf";
APT::Architectures { "armhf"; };
APT::Install-Recommends "false";
APT::Sandbox::User "root";
Dir::State "$a";
Dir::State::Lists "$a/lists";
Dir::State::status "$a/status";
Dir::Cache "$a/cache";
Dir::Etc "$a/etc";
Dir::Etc::SourceList "$a/etc/sources.list";
Dir::Etc::SourceParts "$a/etc/sources.list.d";
Dir::Etc::Preferences "$a/etc/preferences";
Dir::Etc::PreferencesParts "$a/etc/preferences.d";
Dir::Etc::Parts "$a/etc/apt.conf.d";
EOF
  APT_CONFIG=$a/apt.conf apt-get -q update
  rm -f "$deps"/debs/*.deb
  (cd "$deps/debs" && APT_CONFIG=$a/apt.conf apt-get -q download "${sysroot_packages[@]}")

  rm -rf "$sysroot.tmp"; mkdir -p "$sysroot.tmp"
  local d
  for d in "$deps"/debs/*.deb; do dpkg-deb -x "$d" "$sysroot.tmp"; done
  rm -rf "$sysroot"; mv "$sysroot.tmp" "$sysroot"
  check_sysroot
  echo "$wanted" > "$stamp"
}

# Every library the programs load must find what it needs in the sysroot;
# a name missing from the list above is reported here, not at link time.
check_sysroot() {
  local libdirs=("$sysroot/lib/arm-linux-gnueabihf" "$sysroot/usr/lib/arm-linux-gnueabihf")
  local -A seen=()
  local queue=(libnode.so.108 libglib-2.0.so.0 libjsoncpp.so.25 libclutter-1.0.so.0)
  local missing=() name dir file needed
  while [ ${#queue[@]} -gt 0 ]; do
    name=${queue[0]}; queue=("${queue[@]:1}")
    [ -n "${seen[$name]:-}" ] && continue
    seen[$name]=1
    file=""
    for dir in "${libdirs[@]}"; do [ -e "$dir/$name" ] && { file=$dir/$name; break; }; done
    if [ -z "$file" ]; then missing+=("$name"); continue; fi
    for needed in $(arm-linux-gnueabihf-readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
      queue+=("$needed")
    done
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "armhf.sh: the sysroot lacks ${missing[*]}: add their packages to sysroot_packages" >&2
    exit 1
  fi
  echo "== armhf: sysroot complete: ${#seen[@]} libraries resolve"
}

install_host_tools
make_sysroot
t_sysroot=$(elapsed "$t_start")

t_phase=$(seconds)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/armhf-toolchain.cmake" -DARMHF_SYSROOT="$sysroot"
cmake --build "$build" -j2
# The plug-in for the TV engine's V8 generation, 3.28, compiled and linked
# only: npm has no Node.js 0.12 for ARM to run it in.
cmake -S "$root" -B "$build-v8-3.28" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTETHER_V8=3.28 \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/armhf-toolchain.cmake" -DARMHF_SYSROOT="$sysroot"
cmake --build "$build-v8-3.28" -j2 --target Tether
t_build=$(elapsed "$t_phase")
echo "== armhf: built in ${t_build} s, the plug-in also against V8 3.28 (host tools and sysroot: ${t_sysroot} s)"
[ "$mode" = build ] && exit 0

# Script tests run kite on JavaScript files; the rest are GoogleTest binaries.
ctest_args=(--test-dir "$build" -j2 --output-on-failure)
[ "$mode" = cxx ] && ctest_args+=(-E '^(script|kite\.run)\.')
t_phase=$(seconds)
status=0
ctest "${ctest_args[@]}" || status=$?
echo "== armhf: tests ($mode) took $(elapsed "$t_phase") s; whole run $(elapsed "$t_start") s"
exit $status
