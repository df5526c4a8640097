# shellcheck shell=bash
# Sourced by the picture scripts that show Gun Test:  . docs/picture-prefix.sh NAME
# Builds what is missing (build/win32, or GLIMMER_DEMO_BUILD), makes a fresh
# prefix of its own (build/NAME-prefix) with the simulated gun plugged in, on a
# private Xvfb looked for from :$GLIMMER_DEMO_XVFB (96 by default), never on
# the user's display, and stages Gun Test and the inspector in C:\glimmer.
# Gives: root, build, out (build/NAME, emptied), log, fail MSG, gun ARGS,
# inspect ARGS.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
picture_name=$1

. cmake/ensure-deps.sh
ensure_deps
ensure_i386_exec

build=${GLIMMER_DEMO_BUILD:-$root/build/win32}
out=$root/build/$picture_name
rm -rf "$out"
mkdir -p "$out"
log=$out/picture.log
fail() { echo "${0##*/}: $* (see $log)" >&2; exit 1; }

{ cmake -S . -B "$build" --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel &&
  cmake --build "$build" -j2 --target GunTest inspector gunsimctl; } >>"$log" 2>&1 || fail "the build failed"
inspector=$build/tests/inspector/inspector.exe

export GLIMMER_BUILD=$build
export WINEPREFIX=$root/build/$picture_name-prefix
. tools/gunsim/session.sh
DISPLAY=:$(gunsim_free_display "${GLIMMER_DEMO_XVFB:-96}")
export DISPLAY
. tools/gunsim/wine-env.sh

gunsim_down_at_exit "$build" "$log"

tools/gunsim/up.sh "$build" >>"$log" 2>&1 || fail "the simulated gun did not come up"
# What Wine is handed lies under C:\glimmer, short wherever the checkout is.
gunsim_stage "$inspector" "${inspector%/*}/inspector_hook.dll" "$build/guntest/GunTest.exe" ||
  fail "copying the programs into the prefix"

gun() { timeout 120 wine "$GUNSIMCTL" "$@" </dev/null >>"$log" 2>&1 || fail "gunsimctl $*"; }
inspect() { timeout 300 wine 'C:\glimmer\inspector.exe' --timeout 60000 "$@" </dev/null 2>>"$log" | tr -d '\r'; }
