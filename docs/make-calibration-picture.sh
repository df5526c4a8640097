#!/usr/bin/env bash
# Makes docs/calibration.png again: Gun Test's calibration screen at its last
# step, the centre checked, for a simulated gun whose aim is skewed against
# the fixed window (raw X 200..600, Y 40..210 span the screen). Called by
# docs/make-pictures.sh; runs alone too. Builds what is missing
# (build/win32), and runs Wine in a fresh prefix of its own
# (build/calibration-prefix) on a private Xvfb, looked for from
# :$GLIMMER_DEMO_XVFB (96 by default), never on the user's display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

. cmake/ensure-deps.sh
ensure_deps
ensure_i386_exec

build=${GLIMMER_DEMO_BUILD:-$root/build/win32}
out=$root/build/calibration-picture
rm -rf "$out"
mkdir -p "$out"
log=$out/picture.log
fail() { echo "make-calibration-picture.sh: $* (see $log)" >&2; exit 1; }

{ cmake -S . -B "$build" --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel &&
  cmake --build "$build" -j2 --target GunTest inspector gunsimctl; } >>"$log" 2>&1 || fail "the build failed"
inspector=$build/tests/inspector/inspector.exe

export GLIMMER_BUILD=$build
export WINEPREFIX=$root/build/calibration-prefix
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
gun state FF FF 416 128

setsid wine 'C:\glimmer\GunTest.exe' </dev/null >>"$log" 2>&1 &
# A click before the window's loop first idles may only bring it to the front.
inspect --caption "Glimmerdot Gun Test" wait textstart 2001 "Gun found: " 60000 + waitidle 30000 + clickat 2010 >>"$log" ||
  fail "Gun Test did not find the gun"
screen=(--caption "Glimmerdot Calibration")
size=$(inspect "${screen[@]}" wait visible 1 60000 + window | sed -n 's/^window .* screen=\([0-9]*,[0-9]*\) .*/\1/p')
IFS=, read -r width height <<<"$size"
[[ -n $height ]] || fail "no calibration screen"

# Each target answered where the skewed gun aims at it: "A" pressed, then let
# go once the next step shows.
for next in "(step 2 of 3)" "(step 3 of 3)" "Keep it:"; do
  target=$(inspect "${screen[@]}" text 2102)
  [[ $target =~ Target\ at\ ([0-9]+),\ ([0-9]+) ]] || fail "no target in '$target'"
  read -r rx ry < <(awk -v x="${BASH_REMATCH[1]}" -v y="${BASH_REMATCH[2]}" -v w="$width" -v h="$height" \
    'BEGIN { printf "%d %d\n", int(200 + x * 400 / w + 0.5), int(40 + y * 170 / h + 0.5) }')
  gun state FF FF "$rx" "$ry"
  gun state FB FF "$rx" "$ry"
  for ((try = 0; try < 60; try++)); do
    [[ $(inspect "${screen[@]}" text 2101) == *"$next"* ]] && break
  done
  gun state FF FF "$rx" "$ry"
done
inspect "${screen[@]}" wait textstart 2103 "Centre check:" 60000 + waitidle 30000 >>"$log" || fail "no centre check"
import -display "$DISPLAY" -window root "$out/calibration.png" 2>>"$log" || fail "no screenshot"
inspect "${screen[@]}" key esc + wait gone 30000 >>"$log" || true
inspect --caption "Glimmerdot Gun Test" close + waitexit 30000 >>"$log" || true

convert "$out/calibration.png" -strip "$root/docs/calibration.png"
