#!/usr/bin/env bash
# Makes docs/guntest.png again: Gun Test's window while the simulated gun aims
# inside its window with "A" held. Called by docs/make-pictures.sh; runs alone
# too, in a prefix of its own (docs/picture-prefix.sh).
. "$(dirname "$0")/picture-prefix.sh" guntest-picture

# "A" held, aimed a little left of and above the middle of the gun's window.
gun state FB FF 330 100

setsid wine 'C:\glimmer\GunTest.exe' </dev/null >>"$log" 2>&1 &
tested() { inspect --caption "Glimmerdot Gun Test" "$@"; }
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
