#!/usr/bin/env bash
# Runs every test: the host unit tests under ASan/UBSan, then the Windows
# build's tests under Wine (simulated gun, real exe) on a private Xvfb display.
#   ./test.sh [--repeat N]   the Windows tests N times in a row, stopping after
#                            the first round with a failure (default 1)
set -euo pipefail
cd "$(dirname "$0")"
rounds=1
while [[ $# -gt 0 ]]; do
  case $1 in
  --repeat)
    [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || { echo "test.sh: --repeat needs a count of 1 or more" >&2; exit 2; }
    rounds=$2
    shift 2 ;;
  *) echo "test.sh: unknown argument '$1' (usage: ./test.sh [--repeat N])" >&2; exit 2 ;;
  esac
done
. cmake/ensure-deps.sh
ensure_deps
ensure_i386_exec

cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/host -j2
ctest --test-dir build/host --output-on-failure

cmake -S . -B build/win32 --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build build/win32 -j2
for ((round = 1; round <= rounds; round++)); do
  ((rounds == 1)) || echo "== Windows tests, round $round of $rounds"
  # A failing test's own output is printed above; its folder keeps the rest.
  if ! ctest --test-dir build/win32 --output-on-failure; then
    failed=$(cut -d: -f2 build/win32/Testing/Temporary/LastTestsFailed.log 2>/dev/null | tr '\n' ' ')
    echo "test.sh: round $round of $rounds failed: ${failed:-?}(output above; evidence in build/win32/tests/wine/NAME.out)" >&2
    exit 1
  fi
done
((rounds == 1)) || echo "test.sh: all $rounds rounds of the Windows tests passed"
