#!/usr/bin/env bash
# Builds the fuzz targets of the engine's file readers (preset "fuzz") and runs
# every target for a while, for a longer search than the few seconds per target
# of the CI run (`ctest --preset fuzz`). New inputs are kept in the build
# folder's corpus, so later runs go on from there; crashes, hangs and leaks are
# written to build/fuzz/fuzz/artifacts/.
#
#   bash scripts/fuzz.sh [seconds per target (180)] [targets at once (2)] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-180}
parallel=${2:-2}
shift $(( $# < 2 ? $# : 2 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(mopac mol2 gaussian orca zindo rl indices checks ligands)
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 4

build=build/fuzz/fuzz
logs=$build/logs
mkdir -p "$logs" "$build/artifacts" "$build/tmp"

run_target() {
  local name=$1
  local dict=()
  [ -f "fuzz/dicts/$name.dict" ] && dict=(-dict="fuzz/dicts/$name.dict")
  mkdir -p "$build/corpus/$name"
  TMPDIR="$PWD/$build/tmp" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz_$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=131072 \
    -print_final_stats=1 "${dict[@]}" -artifact_prefix="$build/artifacts/$name-" \
    "$build/corpus/$name" "$build/seeds/$name" >"$logs/$name.log" 2>&1
}
export -f run_target
export build seconds logs

status=0
printf '%s\n' "${targets[@]}" | xargs -P "$parallel" -I{} bash -c 'run_target {}' || status=$?

printf '%-10s %12s %8s %10s  %s\n' target executions exec/s coverage result
for name in "${targets[@]}"; do
  log=$logs/$name.log
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  result=ok
  if grep -q '^==[0-9]*==ERROR\|^SUMMARY: \|ALARM: working on the last Unit\|out-of-memory' "$log"; then
    result="FAILED: $(grep -m1 '^SUMMARY: \|ALARM\|out-of-memory' "$log")"
  fi
  printf '%-10s %12s %8s %10s  %s\n' "$name" "${execs:-?}" "${speed:-?}" "${cov:-?}" "$result"
done
exit $status
