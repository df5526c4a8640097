#!/usr/bin/env bash
# Runs every test: the host unit tests under ASan/UBSan, then the Windows
# build's tests under Wine (simulated gun, real exe) on a private Xvfb display,
# then the same Windows tests on the clang-built program, then the linters.
# Every build treats compiler warnings as errors.
#   ./test.sh [--repeat N]   the GCC build's Windows tests N times in a row,
#                            stopping after the first round with a failure
#                            (default 1); the clang build's run once after them
#   ./test.sh --lint         only the linters (tools/lint.sh)
set -euo pipefail
cd "$(dirname "$0")"
rounds=1
lint_only=
while [[ $# -gt 0 ]]; do
  case $1 in
  --repeat)
    [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || { echo "test.sh: --repeat needs a count of 1 or more" >&2; exit 2; }
    rounds=$2
    shift 2 ;;
  --lint) lint_only=1; shift ;;
  *) echo "test.sh: unknown argument '$1' (usage: ./test.sh [--repeat N] | --lint)" >&2; exit 2 ;;
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

# The second compiler: the same Windows tests on what clang and lld made of it,
# one round (its own prefix, after the GCC build's tests, on the display it is configured for).
echo "== Windows tests of the clang build"
configure_clang
cmake --build build/win32-clang -j2
windows_tests build/win32-clang 1 1

tools/lint.sh build/win32-clang
