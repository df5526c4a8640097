#!/usr/bin/env bash
# Runs every test: the host unit tests under ASan/UBSan, then the Windows
# build's tests under Wine (simulated gun, real exe) on a private Xvfb display,
# then the path-handing ones from a deep clone with spaces, an apostrophe and
# a non-ASCII letter in its path (tests/deep_clone.sh), then the same Windows
# tests on the clang-built program, then the linters.
# Every build treats compiler warnings as errors.
#   ./test.sh [--repeat N] [--busy N]
#            --repeat N      the GCC build's Windows tests N times in a row,
#                            stopping after the first round with a failure
#                            (default 1); the rest run once after them
#            --busy N        N busy processes of our own (yes >/dev/null) run
#                            beside the whole suite, ended with it
#   ./test.sh --lint         only the linters (tools/lint.sh)
set -euo pipefail
cd "$(dirname "$0")"
rounds=1
busy=0
lint_only=
while [[ $# -gt 0 ]]; do
  case $1 in
  --repeat)
    [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || { echo "test.sh: --repeat needs a count of 1 or more" >&2; exit 2; }
    rounds=$2
    shift 2 ;;
  --busy)
    [[ ${2:-} =~ ^[0-9]+$ ]] || { echo "test.sh: --busy needs a count of processes" >&2; exit 2; }
    busy=$2
    shift 2 ;;
  --lint) lint_only=1; shift ;;
  *) echo "test.sh: unknown argument '$1' (usage: ./test.sh [--repeat N] [--busy N] | --lint)" >&2; exit 2 ;;
  esac
done
. cmake/ensure-deps.sh
ensure_deps

configure_clang() {
  cmake -S . -B build/win32-clang --toolchain cmake/toolchain-clang-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DGLIMMER_WERROR=ON >/dev/null
}
if [[ $lint_only ]]; then
  configure_clang
  exec tools/lint.sh build/win32-clang
fi
ensure_i386_exec

# A busy machine, made here: each process ends with the suite, by its own pid,
# however the suite ends.
busy_pids=()
stop_busy() {
  ((${#busy_pids[@]})) || return 0
  kill "${busy_pids[@]}" 2>/dev/null || true
  wait "${busy_pids[@]}" 2>/dev/null || true
  busy_pids=()
}
trap stop_busy EXIT
trap 'exit 130' INT TERM
for ((i = 0; i < busy; i++)); do
  yes >/dev/null 2>&1 </dev/null &
  busy_pids+=($!)
done
((busy == 0)) || echo "test.sh: $busy busy processes beside the suite (pids ${busy_pids[*]})"

cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug -DGLIMMER_WERROR=ON >/dev/null
cmake --build build/host -j2
ctest --test-dir build/host --output-on-failure

# windows_tests BUILD ROUND ROUNDS: one round of a Windows build's tests.
windows_tests() {
  local failed
  # A failing test's own output is printed above; its folder keeps the rest.
  if ! ctest --test-dir "$1" --output-on-failure; then
    failed=$(cut -d: -f2 "$1/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | tr '\n' ' ')
    echo "test.sh: $1, round $2 of $3 failed: ${failed:-?}(output above; evidence in $1/tests/wine/NAME.out)" >&2
    exit 1
  fi
}

cmake -S . -B build/win32 --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DGLIMMER_WERROR=ON >/dev/null
cmake --build build/win32 -j2
for ((round = 1; round <= rounds; round++)); do
  ((rounds == 1)) || echo "== Windows tests, round $round of $rounds"
  windows_tests build/win32 "$round" "$rounds"
done
((rounds == 1)) || echo "test.sh: all $rounds rounds of the Windows tests passed"

# The same build from a checkout 250+ characters deep, with spaces, an
# apostrophe and a non-ASCII letter in its path, on a display of its own
# (GLIMMER_DEEP_DISPLAY, else three above the GCC build's).
echo "== Windows tests from a deep clone"
gcc_display=$(sed -n 's/^GLIMMER_DISPLAY:STRING=//p' build/win32/CMakeCache.txt)
tests/deep_clone.sh "${GLIMMER_DEEP_DISPLAY:-$((gcc_display + 3))}" ||
  { echo "test.sh: the deep clone's Windows tests failed (output above)" >&2; exit 1; }

# The second compiler: the same Windows tests on what clang and lld made of it,
# one round (its own prefix, after the GCC build's tests, on the display it is configured for).
echo "== Windows tests of the clang build"
configure_clang
cmake --build build/win32-clang -j2
windows_tests build/win32-clang 1 1

tools/lint.sh build/win32-clang
