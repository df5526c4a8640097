#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each one for a bounded time.
#   tests/fuzz/run-fuzz.sh [BUILD_DIR]
# GLIMMER_FUZZ_SECONDS sets the time per target (default 20); run it for
# hours by hand with a large value. Findings are left in BUILD_DIR/findings.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/fuzz}
seconds=${GLIMMER_FUZZ_SECONDS:-20}

command -v clang++ >/dev/null || { echo "run-fuzz: clang++ is missing (apt-get install clang)" >&2; exit 1; }
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2 >/dev/null

status=0
for target in fuzz_decode fuzz_settings_load; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  log=$build/$target.log
  if "$build/$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} inputs in ${seconds}s, no finding"
  else
    echo "$target: FINDING, see $log and $findings" >&2
    tail -40 "$log" >&2
    status=1
  fi
done
exit $status
