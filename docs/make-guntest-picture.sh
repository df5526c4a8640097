#!/usr/bin/env bash
# Makes docs/guntest.png again: Gun Test's window while the simulated gun aims
# inside its window with "A" held, Glimmerdot's choices putting A on the left
# click and play settings stored (a right click off screen). Called by docs/make-pictures.sh; runs alone
# too, in a prefix of its own (docs/picture-prefix.sh).
. "$(dirname "$0")/picture-prefix.sh" guntest-picture

# "A" held, aimed a little left of and above the middle of the gun's window.
gun state FB FF 330 100
# LumipointKey's bytes are left, middle, right, 0: 03 01 04 00.
for value in "LumipointKey /t REG_DWORD /d 0x00040103" "Play /t REG_BINARY /d 0100000003003C000000"; do
  # shellcheck disable=SC2086 # the name, type and data are three words each
  timeout 60 wine reg add 'HKLM\SOFTWARE\VEY\Lumipoint' /v $value /f >>"$log" 2>&1 || fail "seeding $value"
done

setsid wine 'C:\glimmer\GunTest.exe' </dev/null >>"$log" 2>&1 &
tested() { inspect --caption "Glimmerdot Gun Test" "$@"; }
# Shown first: its window exists a moment before its controls do.
tested wait visible 1 60000 + wait text 2004 "Held: A" 60000 + wait textstart 2001 "Gun found: " 60000 >>"$log" || fail "Gun Test did not show the gun"
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
