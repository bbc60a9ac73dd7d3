#!/usr/bin/env bash
# Installs what is missing, builds ORVANE and runs the whole test suite, then
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, then
# every fuzz target of the file readers for a few seconds (clang, libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)

cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j "$jobs"

# New inputs found here stay in build/fuzz/fuzz/corpus; crashes, hangs and
# leaks are written to build/fuzz/fuzz/artifacts. Longer runs: scripts/fuzz.sh.
cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz -j "$jobs"
