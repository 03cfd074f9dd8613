#!/usr/bin/env bash
# Sets up the machine, builds and runs every test.
#   scripts/test.sh [--sanitize] [ctest arguments...]
# --sanitize builds with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize/; the plain build goes to build/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
# The benchmarks are built (not run) so that they keep compiling.
options=(-DVELTRANE_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build=build-sanitize
  options=(-DVELTRANE_SANITIZE=ON)
fi

bash scripts/setup.sh
cmake -S . -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
# Leaks inside Qt's libraries that programs cannot free (see the file).
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/support/lsan_qt.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build"
ctest -j "$(nproc)" --output-on-failure --timeout 300 "$@"
