#!/usr/bin/env bash
# Runs every test: the host unit tests under ASan/UBSan, then the Windows
# build's tests under Wine (simulated gun, real exe) on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")"
. cmake/ensure-deps.sh
ensure_deps
ensure_i386_exec

cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/host -j2
ctest --test-dir build/host --output-on-failure

cmake -S . -B build/win32 --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build build/win32 -j2
ctest --test-dir build/win32 --output-on-failure
