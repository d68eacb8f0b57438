#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite.
#
#   scripts/test.sh               normal build in build/
#   scripts/test.sh --sanitize    address and undefined-behaviour sanitizers, in build-asan/
set -euo pipefail

cd "$(dirname "$0")/.."
# Compiler cache hits across checkouts in other folders (CI clones afresh).
export CCACHE_BASEDIR="$PWD"
# Debug information names the build folder; without this a clone elsewhere would miss every entry.
export CCACHE_NOHASHDIR=1

if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-asan
  scripts/setup.sh "$build_dir" --sanitize
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  build_dir=build
  scripts/setup.sh "$build_dir"
fi

cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
