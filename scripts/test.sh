#!/usr/bin/env bash
# Installs what is missing, builds ORVANE and runs the whole test suite, then
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, then
# every fuzz target for a few seconds (clang, libFuzzer). Inside a git checkout
# it fails when the runs left an untracked or changed file in the checkout: a
# test writes only in its own temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."

# Files already changed before the run are the developer's, not the tests'.
in_checkout=false
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  in_checkout=true
  status_before=$(git status --porcelain)
fi
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

if $in_checkout; then
  status_after=$(git status --porcelain)
  if [ "$status_after" != "$status_before" ]; then
    echo "The test runs left untracked or changed files in the checkout:" >&2
    diff <(printf '%s\n' "$status_before") <(printf '%s\n' "$status_after") >&2 || true
    exit 1
  fi
fi
