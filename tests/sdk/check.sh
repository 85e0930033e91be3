#!/usr/bin/env bash
# What users of the installed engine rely on, from a built BUILD_DIR: an
# install into a temporary prefix, then moved; the example plug-in built
# against it with find_package(KiteSDK) and with pkg-config, loaded by the
# installed kite through KITE_PLUGIN_PATH and driven by its script test;
# docs/plugins.md's examples/store built, tested alone, installed and packaged;
# kite's plug-in search; the Debian packages' files, dependencies and kite.
#   tests/sdk/check.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# check WHAT COMMAND...: passes when COMMAND succeeds; shows its output if not.
check() {
  local what=$1
  shift
  if "$@" >"$tmp/log" 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; cat "$tmp/log"; failures=$((failures + 1)); fi
}
# outputs STATUS TEXT COMMAND...: COMMAND exits with STATUS and prints TEXT.
outputs() {
  local status=$1 text=$2 out
  shift 2
  out=$("$@" 2>&1)
  [ $? -eq "$status" ] && grep -qF -- "$text" <<<"$out" || { printf '%s\nexpected status %s and "%s"\n' "$out" "$status" "$text"; return 1; }
}
# The installed files name the system's libnode.so.108; this machine has the unpacked copy.
export LD_LIBRARY_PATH=$(dirname "$(ls "$root"/.deps/libnode/usr/lib/*/libnode.so.108)")
clock_test=$root/examples/plugin/clock.test.js
store=$root/examples/store
# The SDK's ABI number (Bridge/SdkAbi.h) and the package version: the
# engine library is libkiteEngine.so.ABI, the file libkiteEngine.so.ABI.MINOR.PATCH.
abi=$(sed -n 's/^#define KITE_SDK_ABI \([0-9]*\)$/\1/p' "$root/platform/bridge/include/Bridge/SdkAbi.h")
version=$(sed -n 's/^project(Tether VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
engine_file=libkiteEngine.so.$abi.${version#*.}

check "cmake --install into a fresh prefix" cmake --install "$build" --prefix "$tmp/stage"
check "examples/plugin built with find_package(KiteSDK)" bash -c "cmake -S '$root/examples/plugin' -B '$tmp/cmake' \
  -G Ninja -DCMAKE_PREFIX_PATH='$tmp/stage' && cmake --build '$tmp/cmake'"
check "examples/store built with find_package(KiteSDK), as docs/plugins.md builds it" bash -c "cmake -S '$store' \
  -B '$tmp/store' -G Ninja -DCMAKE_PREFIX_PATH='$tmp/stage' && cmake --build '$tmp/store'"
check "Clock.cpp built with pkg-config kite-engine" bash -c "mkdir '$tmp/pc' && g++ -std=c++17 -shared -fPIC \
  -o '$tmp/pc/libClock.so' '$root/examples/plugin/Clock.cpp' \$(PKG_CONFIG_PATH='$tmp/stage/lib/pkgconfig' pkg-config --cflags --libs kite-engine)"
# Plug-ins built for an earlier minor version need rebuilding (headers and
# inline code changed), and a binding of an undeclared native type, or a
# class builder form it cannot make, is refused when it is compiled.
for old in 0.1 0.3 0.4; do
  mkdir "$tmp/old$old" && printf '%s\n' "cmake_minimum_required(VERSION 3.25)" "project(OldUser CXX)" \
    "find_package(KiteSDK $old CONFIG REQUIRED)" >"$tmp/old$old/CMakeLists.txt"
  check "a plug-in asking for KiteSDK $old is refused, naming the version" outputs 1 "KiteSDKConfig.cmake, version: $version" \
    cmake -S "$tmp/old$old" -B "$tmp/old$old/build" -DCMAKE_PREFIX_PATH="$tmp/stage"
done
printf '%s\n' "#include <Bridge/ScriptBridge.h>" "struct CUndeclared {};" \
  "Bridge::ScriptObject Handle(CUndeclared*, const Bridge::ScriptArray&) { return Bridge::ScriptObject(); }" \
  "v8::FunctionCallback pRouter = Bridge::ScriptBridge::functionCallRouter<CUndeclared, Handle, CUndeclared>;" >"$tmp/undeclared.cpp"
check "a router for a type without BRIDGE_NATIVE_CLASS does not compile" outputs 1 \
  "declare the native type's script class with BRIDGE_NATIVE_CLASS first" bash -c "g++ -std=c++17 -fsyntax-only '$tmp/undeclared.cpp' \
  \$(PKG_CONFIG_PATH='$tmp/stage/lib/pkgconfig' pkg-config --cflags kite-engine)"
# Class builder forms that do not compile, each with the reason given.
builder_refusals=(
  '.staticValue("BIG", std::int64_t(1))|a 64-bit value may be beyond a number: give a double'
  '.value("ANY", Bridge::ScriptObject())|a class'"'"'s value is a number, boolean or text'
  '.getter<&CUser::Add>("add")|a getter takes no value'
)
for refusal in "${builder_refusals[@]}"; do
  printf '%s\n' "#include <Bridge/ClassBuilder.h>" "struct CUser { int Add(int iValue) { return iValue; } };" \
    'BRIDGE_NATIVE_CLASS("User", CUser);' \
    "void Build(Bridge::ScriptBridge& bridge, Bridge::ScriptBridge::ScriptContext& context)" \
    "{ Bridge::ClassBuilder<CUser>(bridge, context)${refusal%%|*}; }" >"$tmp/builder.cpp"
  check "the class builder refuses ${refusal%%|*} when compiled" outputs 1 "${refusal#*|}" \
    bash -c "g++ -std=c++17 -fsyntax-only '$tmp/builder.cpp' \
    \$(PKG_CONFIG_PATH='$tmp/stage/lib/pkgconfig' pkg-config --cflags kite-engine)"
done
mkdir "$tmp/user" && printf '%s\n' "cmake_minimum_required(VERSION 3.25)" "project(SdkUser CXX)" \
  "find_package(KiteSDK CONFIG REQUIRED)" "add_executable(user user.cpp)" \
  "target_link_libraries(user Kite::Tether Kite::Cinecast Kite::CinecastGst)" >"$tmp/user/CMakeLists.txt"
printf '%s\n' "#include <Cinecast/CinecasterAdapter.h>" "#include <TetherJson.h>" "#include <cstdio>" \
  "int main() { DeviceAPI::Cinecast::CinecasterAdapter adapter; CTetherJson json;" \
  "json.Set(\"created\", adapter.create()); std::puts(json.ToString().c_str()); }" >"$tmp/user/user.cpp"
check "a program with Kite::Tether's CTetherJson and Kite::Cinecast's adapter" outputs 0 '{"created":true}' bash -c \
  "cmake -S '$tmp/user' -B '$tmp/user/build' -G Ninja -DCMAKE_PREFIX_PATH='$tmp/stage' && cmake --build '$tmp/user/build' && '$tmp/user/build/user'"

prefix=$tmp/moved
mv "$tmp/stage" "$prefix"
kite=$prefix/bin/kite
check "installed binaries find ours relative to themselves, nothing else" \
  bash -c "! readelf -d '$kite' '$prefix'/lib/*.so '$prefix'/lib/kite/plugins/*.so | grep -E 'R(UN)?PATH' | grep -vE '\[\\\$ORIGIN[^]:]*\]\$'"
check "the installed bridge library needs V8 and no GLib library" \
  bash -c "readelf -d '$prefix/lib/libkiteEngine.so' | grep NEEDED | grep -q libnode && ! readelf -d '$prefix/lib/libkiteEngine.so' | grep NEEDED | grep -E 'lib(glib|gobject|gio|gmodule|gthread)-'"
check "the installed bridge library's soname is libkiteEngine.so.$abi, which the plug-ins and kite need" \
  bash -c "readelf -d '$prefix/lib/$engine_file' | grep -qF 'Library soname: [libkiteEngine.so.$abi]' &&
           for f in '$kite' '$prefix'/lib/kite/plugins/libTether.so '$tmp'/cmake/libClock.so '$tmp'/pc/libClock.so; do
             readelf -d \$f | grep -qF 'Shared library: [libkiteEngine.so.$abi]' || exit 1; done"
# (the note's word is little-endian here)
check "the plug-ins record SDK ABI $abi in a note that readelf -n shows" bash -c "for p in '$prefix'/lib/kite/plugins/libTether.so '$tmp'/cmake/libClock.so; do
  readelf -nW \$p | grep -A2 -F 'notes found in: .note.kite.abi' | grep -qE '^ +Kite +0x00000004.*data: $(printf '%02x' "$abi") 00 00 00' || exit 1; done"
check "the plug-ins run nothing of theirs when loaded: no static initialisers" \
  bash -c "for p in '$prefix'/lib/kite/plugins/libTether.so '$tmp'/cmake/libClock.so; do nm \$p | grep -q loadBridges && ! nm \$p | grep _GLOBAL__sub_I || exit 1; done"
check "kite --help names the moved prefix's plug-in folder" outputs 0 "  $prefix/lib/kite/plugins" "$kite" --help
check "kite --help names the installed reference" outputs 0 "Reference: $prefix/share/doc/tether/script-api.md" "$kite" --help
for plugin in cmake pc; do
  check "clock.test.js with the $plugin-built Clock, a missing folder before it in KITE_PLUGIN_PATH" \
    outputs 0 "clock: ok" env KITE_PLUGIN_PATH="$tmp/none:$tmp/$plugin" "$kite" --adapter=sim "$clock_test"
done
check "clock.test.js with the Clock alone (--plugin=), no Tether loaded" \
  outputs 0 "clock: ok" "$kite" --plugin="$tmp/cmake/libClock.so" "$clock_test"
check "the plug-in folder named again in KITE_PLUGIN_PATH installs Tether once" \
  outputs 0 "1" bash -c "KITE_PLUGIN_PATH='$tmp/cmake:$prefix/lib/kite/plugins' '$kite' --adapter=sim --log=- '$clock_test' 2>&1 | grep -c 'Tether.cpp: mapScriptInterface'"

# Installed into kite's plug-in folder, and packaged, as the guide does.
check "examples/store installed into kite's plug-in folder runs without --plugin" outputs 0 "4 passed, 0 failed" \
  bash -c "cmake --install '$tmp/store' --prefix '$prefix' >/dev/null && '$kite' test '$store'"
minor=${version%.*}
next_minor=${minor%.*}.$((${minor#*.} + 1))
check "examples/store's package holds the plug-in in kite's plug-in folder and wants tether $minor" bash -c "
  cd '$tmp/store' && cpack -G DEB >/dev/null &&
  dpkg-deb -c kite-store-1.0.0-Linux.deb | grep -q ' ./usr/lib/kite/plugins/libStore.so\$' &&
  dpkg-deb -f kite-store-1.0.0-Linux.deb Depends | grep -qxF 'tether (>= $minor), tether (<< $next_minor)'"

check "scripts/package.sh" "$root/scripts/package.sh" "$build" "$tmp/deb"
files() { dpkg-deb -c "$1" | awk '{print $6}' | grep -v '/$' | sort; }
runtime=(./usr/bin/kite ./usr/lib/kite/plugins/libTether.so ./usr/lib/lib{cinecast,cinecast_gst,dlog}.so
         ./usr/lib/libkiteEngine.so.$abi ./usr/lib/$engine_file
         ./usr/share/doc/tether/script-api.md ./usr/share/kite/types/{kite,kite-test,sim,tether}.d.ts
         ./usr/share/kite/types/tv/engine.d.ts)
dev=(./usr/include/kite/{dlog,DlogSink,LogFilter,LogLine,TetherJson}.h ./usr/lib/pkgconfig/kite-engine.pc ./usr/lib/libkiteEngine.so
     ./usr/include/kite/Bridge/{Arguments,ClassBuilder,Converter,Engine,EngineTypes,KiteException,NativeCallScope,NativeClass,ScriptArray,ScriptBridge,ScriptError,ScriptFunction,ScriptExceptionPending,ScriptObject,ScriptText,SdkAbi,ThreadSafeCall,TypedArguments,V8Compat,V8Runtime}.h
     ./usr/include/kite/Cinecast/{AcceptingBackend,AdapterBackend,AdapterTypes,CinecasterAdapter,GstAdapter,ModelAdapter,SimAdapter}.h
     ./usr/lib/cmake/KiteSDK/KiteSDKConfig{,Version}.cmake)
check "tether's files" diff <(files "$tmp"/deb/tether_*.deb) <(printf '%s\n' "${runtime[@]}" | sort)
check "tether-dev's files" diff <(files "$tmp"/deb/tether-dev_*.deb) <(printf '%s\n' "${dev[@]}" | sort)
# depends DEB PACKAGE...: each PACKAGE (a regular expression) is one of DEB's Depends.
depends() {
  dpkg-deb -f "$1" Depends && for p in "${@:2}"; do
    dpkg-deb -f "$1" Depends | tr ',' '\n' | grep -qE "^ ?$p( |$)" || { echo "no $p"; return 1; }
  done
}
check "tether's Depends" depends "$tmp"/deb/tether_*.deb libnode108 libglib2.0-0 libclutter-1.0-0 libjsoncpp25 \
  libgstreamer1.0-0 "libstdc\+\+6" libc6
check "tether-dev's Depends" depends "$tmp"/deb/tether-dev_*.deb "tether \(= [0-9.]+\)" libnode-dev libglib2.0-dev libjsoncpp-dev pkg-config
for deb in "$tmp"/deb/*.deb; do dpkg-deb -x "$deb" "$tmp/root"; done
check "the packaged kite runs examples/tour.js" diff <("$tmp/root/usr/bin/kite" --adapter=sim "$root/examples/tour.js" 2>&1) \
  "$root/tests/host/scripts/tour.out"
check "the packaged kite runs examples/store's tests with the Store alone" outputs 0 "4 passed, 0 failed" \
  "$tmp/root/usr/bin/kite" test --plugin="$tmp/store/libStore.so" "$store"
check "the packaged pkg-config file names the system's V8" outputs 0 "-I/usr/include/node" \
  env PKG_CONFIG_PATH="$tmp/root/usr/lib/pkgconfig" pkg-config --cflags kite-engine
# Debian's npm brings libnode-dev, so a machine set up from scratch has the
# system's V8; one with another Node.js (as ours) has not.
if dpkg-query -W -f='${Status}' libnode-dev 2>/dev/null | grep -q 'install ok installed'; then
  check "the packaged CMake package builds examples/plugin with the system's V8 (libnode-dev is installed)" \
    bash -c "cmake -S '$root/examples/plugin' -B '$tmp/deb-cmake' -G Ninja -DCMAKE_PREFIX_PATH='$tmp/root/usr' &&
             cmake --build '$tmp/deb-cmake' && grep -q ' /usr/include/node' '$tmp/deb-cmake/build.ninja'"
  check "examples/store built with the packaged CMake package passes its tests in the packaged kite" outputs 0 "4 passed, 0 failed" \
    bash -c "cmake -S '$store' -B '$tmp/deb-store' -G Ninja -DCMAKE_PREFIX_PATH='$tmp/root/usr' >/dev/null &&
             cmake --build '$tmp/deb-store' >/dev/null && '$tmp/root/usr/bin/kite' test --plugin='$tmp/deb-store/libStore.so' '$store'"
else
  check "the packaged CMake package wants the system's V8 (libnode-dev is not installed)" \
    outputs 1 "V8 not found: install Debian's libnode-dev" \
    cmake -S "$root/examples/plugin" -B "$tmp/deb-cmake" -DCMAKE_PREFIX_PATH="$tmp/root/usr"
fi

[ $failures -eq 0 ] || { echo "check.sh: $failures checks failed" >&2; exit 1; }
