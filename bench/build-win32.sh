# shellcheck shell=bash
# Sourced by the benchmark scripts, with $root set: installs what is missing
# and builds the Windows programs they run.
#   bench_build_win32 NAME [TARGET ...]   into $win (GLIMMER_BENCH_WIN32, default
#                                         build/win32), logged to build/bench-NAME-build.log
. "${root:?}/cmake/ensure-deps.sh"
ensure_deps
ensure_i386_exec

win=${GLIMMER_BENCH_WIN32:-$root/build/win32}
bench_build_win32() {
  local log=$root/build/bench-$1-build.log targets=()
  shift
  (($# == 0)) || targets=(--target "$@")
  mkdir -p "$root/build"
  { cmake -S "$root" -B "$win" --toolchain "$root/cmake/toolchain-mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel &&
    cmake --build "$win" -j2 "${targets[@]}"; } >"$log" 2>&1 || { tail -30 "$log" >&2; exit 1; }
}
