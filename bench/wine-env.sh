# shellcheck shell=bash
# Sourced by the benchmark scripts, with $root and $win set: Wine in the
# benchmarks' own prefix (GLIMMER_BENCH_PREFIX, default build/bench-prefix) on
# their own display (GLIMMER_BENCH_DISPLAY, default the first free from 95).
export GLIMMER_BUILD=${win:?}
export WINEPREFIX=${GLIMMER_BENCH_PREFIX:-${root:?}/build/bench-prefix}
display=${GLIMMER_BENCH_DISPLAY:-95}
if [[ -z ${GLIMMER_BENCH_DISPLAY:-} ]]; then
  while [[ -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
fi
export DISPLAY=:$display
. "$root/tools/gunsim/wine-env.sh"
