#!/usr/bin/env bash
# Builds and runs every test: first a RelWithDebInfo build in build/, then an
# AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/ with
# leak checking. Exits non-zero when any build or test fails.
# BUILD_DIR and ASAN_BUILD_DIR choose other folders.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
build_asan=${ASAN_BUILD_DIR:-$root/build-asan}

"$root/scripts/setup.sh" || { echo "test.sh: set-up failed" >&2; exit 1; }

failed=()

# run_suite NAME DIR [CMAKE OPTIONS...]
run_suite() {
  local name=$1 dir=$2
  shift 2
  echo "== $name: configure and build in $dir"
  if ! cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"; then
    failed+=("$name (configure)"); return
  fi
  if ! cmake --build "$dir" -j2; then
    failed+=("$name (build)"); return
  fi
  echo "== $name: tests"
  if ! (cd "$dir" && ctest -j2 --output-on-failure); then
    failed+=("$name (tests)")
  fi
}

run_suite plain "$build"

# Leaks inside V8, GLib and fontconfig are theirs; tests/lsan.supp lists
# only those.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
run_suite sanitized "$build_asan" -DTETHER_SANITIZE=ON

if [ ${#failed[@]} -gt 0 ]; then
  echo "test.sh: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "test.sh: every test passed (plain and sanitized)"
