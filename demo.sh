#!/usr/bin/env bash
# Glimmerdot doing its job with a simulated light gun, under Wine:
#   ./demo.sh [--trace FILE]
# Builds what is missing, starts Glimmerdot on your display (on a private Xvfb
# when there is none) with the assignments left "A", middle "Start", right "B",
# presses Start in its window, plays a trace on the simulated gun (the built-in
# one sweeps the gun's whole window, visits the corners, aims off the screen
# and presses "A", "Start" and "B") and prints, step by step, the gun's report,
# the cursor, the clicks a low-level mouse hook saw and the reads the gun
# served, then a summary. Leaves a screenshot and, on Xvfb, an animation of the
# cursor's path in build/demo/. Ends by itself and stops everything it started.
#
# Trace format (the simulated gun's): one report per line, "B0 B1 X Y MS":
# button bytes in hex, active low (FF FF nothing pressed, FB FF "A", FF 7F
# "Start", F7 FF "B"); the raw aim position in decimal (the gun's window is
# X 160..672, Y 32..224; X 1 or Y 5 is "off the screen"); MS, how long the
# report holds. '#' starts a comment. See tools/demo/demo.trace.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

trace=$root/tools/demo/demo.trace
while [[ $# -gt 0 ]]; do
  case $1 in
  --trace)
    [[ $# -ge 2 && -r $2 ]] || { echo "demo.sh: --trace needs a readable file" >&2; exit 2; }
    trace=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
    shift 2 ;;
  -h | --help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "demo.sh: unknown argument '$1' (try --help)" >&2; exit 2 ;;
  esac
done

. cmake/ensure-deps.sh
ensure_deps
ensure_i386_exec

build=${GLIMMER_DEMO_BUILD:-$root/build/win32}
out=$root/build/demo
rm -rf "$out"
mkdir -p "$out"
log=$out/demo.log
: >"$log"
say() { printf '\n== %s\n' "$*"; }

say "building Glimmerdot.exe and the simulated gun (${build#"$root"/})"
{ cmake -S . -B "$build" --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel &&
  cmake --build "$build" -j2; } >>"$log" 2>&1 || { tail -30 "$log" >&2; exit 1; }
inspector=$(find "$build/tests" -name inspector.exe -print -quit)
player=$build/tools/demo/demo_player.exe
[[ -n $inspector && -f $player ]] || { echo "demo.sh: the build made no inspector.exe or demo_player.exe" >&2; exit 1; }

# Wine settings for everything below: our own prefix, the user's display when
# one answers, else a free display number where up.sh starts Xvfb.
export GLIMMER_BUILD=$build
export WINEPREFIX=${GLIMMER_DEMO_PREFIX:-$root/build/demo-prefix}
xvfb=no
. tools/gunsim/session.sh
if [[ -n ${DISPLAY:-} ]]; then
  . tools/gunsim/wine-env.sh
  gunsim_display_answers || xvfb=yes
else
  xvfb=yes
fi
if [[ $xvfb == yes ]]; then
  # GLIMMER_DEMO_XVFB: where to look for a free display number first.
  DISPLAY=:$(gunsim_free_display "${GLIMMER_DEMO_XVFB:-96}")
  export DISPLAY
fi
. tools/gunsim/wine-env.sh

gunsim_down_at_exit "$build" "$log"

say "starting the simulated gun in a fresh 32-bit prefix (${WINEPREFIX#"$root"/}) on display $DISPLAY$([[ $xvfb == yes ]] && echo ", Xvfb")"
echo "   (a fresh prefix takes a minute or two)"
tools/gunsim/up.sh "$build" | sed 's/^/   /'
# What Wine is handed lies under C:\glimmer, short wherever the checkout and the trace are.
gunsim_stage "$inspector" "${inspector%/*}/inspector_hook.dll" "$build/app/Glimmerdot.exe" "$player"
cp "$trace" "$GLIMMER_STAGE/demo.trace"

inspect() { timeout 300 wine 'C:\glimmer\inspector.exe' --timeout 60000 "$@" </dev/null 2>>"$log" | tr -d '\r'; }

say "assignments pre-seeded in the registry: left \"A\" (3), middle \"Start\" (1), right \"B\" (4)"
# LumipointKey's bytes are left, middle, right, 0: 03 01 04 00.
timeout 60 wine reg add 'HKLM\SOFTWARE\VEY\Lumipoint' /v LumipointKey /t REG_DWORD /d 0x00040103 /f >>"$log" 2>&1
timeout 60 wine reg add 'HKLM\SOFTWARE\VEY\Lumipoint' /v Speed /t REG_DWORD /d 60 /f >>"$log" 2>&1

say "starting Glimmerdot.exe and pressing its Start button"
setsid wine 'C:\glimmer\Glimmerdot.exe' </dev/null >>"$log" 2>&1 &
shown=$(inspect wait visible 1 60000 + combo 1006 + combo 1007 + combo 1008 + click 1005 + wait enabled 1004 1 60000 + window)
grep -q '^window ' <<<"$shown" || { echo "demo.sh: Glimmerdot's window did not come up (see $log)" >&2; exit 1; }
for id in 1006 1007 1008; do
  sel=$(sed -n "s/^combo id=$id .* sel=\([-0-9]*\).*/\1/p" <<<"$shown")
  text=$(sed -n "s/^item index=$sel text=\(.*\)/\1/p" <<<"$shown" | head -1)
  case $id in 1006) what=left ;; 1007) what=middle ;; *) what=right ;; esac
  echo "   $what button list shows $text"
done
rect=$(sed -n 's/^window .* rect=\([-0-9,]*\) .*/\1/p' <<<"$shown")
echo "   window at $rect (left,top,right,bottom); Start pressed, Stop enabled: the conversion runs"

# The screenshot: the window as it runs, and the whole screen behind the path.
screen=$out/screen.png
import -display "$DISPLAY" -window root "$screen" 2>>"$log" || true
if [[ -s $screen ]]; then
  IFS=, read -r left top right bottom <<<"$rect"
  convert "$screen" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/glimmerdot.png" 2>>"$log" || true
fi
# Of a real desktop only our window is kept.
[[ $xvfb == yes ]] || rm -f "$screen"

say "playing ${trace#"$root"/} on the simulated gun"
samples=$out/samples.txt
# The player's output goes to a file that we follow: a Wine process must not
# hold a pipe of ours.
: >"$out/player.txt"
wine 'C:\glimmer\demo_player.exe' 'C:\glimmer\demo.trace' 'C:\glimmer\samples.txt' </dev/null \
  >>"$out/player.txt" 2>>"$log" &
player_pid=$!
tail -n +1 --pid="$player_pid" -f "$out/player.txt" | tr -d '\r'
wait "$player_pid" || { echo "demo.sh: the player failed (see $log)" >&2; exit 1; }
cp "$GLIMMER_STAGE/samples.txt" "$samples" 2>/dev/null || true

say "closing Glimmerdot"
inspect close + waitexit 30000 | sed 's/^/   /'

if [[ $xvfb == yes && -s $screen && -s $samples ]]; then
  python3 tools/demo/animate.py "$samples" "$screen" "$out/cursor-path.gif" "$out/cursor-path-strip.png" 2>>"$log" ||
    echo "   (no animation: ImageMagick could not draw it, see $log)"
fi

say "left in ${out#"$root"/}/"
for f in glimmerdot.png cursor-path.gif cursor-path-strip.png player.txt; do
  [[ -s $out/$f ]] && echo "   $f"
done
exit 0
