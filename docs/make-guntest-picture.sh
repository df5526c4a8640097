#!/usr/bin/env bash
# Makes docs/guntest.png again: Gun Test's window while the simulated gun aims
# inside its window with "A" held. Called by docs/make-pictures.sh; runs alone
# too. Builds what is missing (build/win32), and runs Wine in a fresh prefix of
# its own (build/picture-prefix) on a private Xvfb, looked for from
# :$GLIMMER_DEMO_XVFB (96 by default), never on the user's display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

. cmake/ensure-deps.sh
ensure_deps
ensure_i386_exec

build=${GLIMMER_DEMO_BUILD:-$root/build/win32}
out=$root/build/guntest-picture
rm -rf "$out"
mkdir -p "$out"
log=$out/picture.log
fail() { echo "make-guntest-picture.sh: $* (see $log)" >&2; exit 1; }

{ cmake -S . -B "$build" --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel &&
  cmake --build "$build" -j2 --target GunTest inspector gunsimctl; } >>"$log" 2>&1 || fail "the build failed"
inspector=$build/tests/inspector/inspector.exe

export GLIMMER_BUILD=$build
export WINEPREFIX=$root/build/picture-prefix
. tools/gunsim/session.sh
DISPLAY=:$(gunsim_free_display "${GLIMMER_DEMO_XVFB:-96}")
export DISPLAY
. tools/gunsim/wine-env.sh

gunsim_down_at_exit "$build" "$log"

tools/gunsim/up.sh "$build" >>"$log" 2>&1 || fail "the simulated gun did not come up"
# What Wine is handed lies under C:\glimmer, short wherever the checkout is.
gunsim_stage "$inspector" "${inspector%/*}/inspector_hook.dll" "$build/guntest/GunTest.exe" ||
  fail "copying the programs into the prefix"
# "A" held, aimed a little left of and above the middle of the gun's window.
timeout 120 wine "$GUNSIMCTL" state FB FF 330 100 </dev/null >>"$log" 2>&1 || fail "gunsimctl state"

setsid wine 'C:\glimmer\GunTest.exe' </dev/null >>"$log" 2>&1 &
tested() { timeout 300 wine 'C:\glimmer\inspector.exe' --caption "Glimmerdot Gun Test" --timeout 60000 "$@" </dev/null 2>>"$log" | tr -d '\r'; }
tested wait text 2004 "Held: A" 60000 + wait textstart 2001 "Gun found: " 60000 >>"$log" || fail "Gun Test did not show the gun"
# Taken once a whole second of reads at the 60 ms pace is counted (where the
# machine is too slow for that, after 60 looks).
for ((try = 0; try < 60; try++)); do
  [[ $(tested text 2006) =~ second:\ ([0-9]+) && ${BASH_REMATCH[1]} -ge 16 ]] && break
done
window=$(tested waitidle 30000 + window) || fail "no Gun Test window"
rect=$(sed -n 's/^window .* rect=\([-0-9,]*\) .*/\1/p' <<<"$window")
IFS=, read -r left top right bottom <<<"$rect"
import -display "$DISPLAY" -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
  "$out/guntest.png" 2>>"$log" || fail "no screenshot"
tested close + waitexit 30000 >>"$log" || true

convert "$out/guntest.png" -strip "$root/docs/guntest.png"
