#!/usr/bin/env bash
# Makes docs/calibration.png again: Gun Test's calibration screen at its last
# step, the centre checked, for a simulated gun whose aim is skewed against
# the fixed window (raw X 200..600, Y 40..210 span the screen). Called by
# docs/make-pictures.sh; runs alone too, in a prefix of its own
# (docs/picture-prefix.sh).
. "$(dirname "$0")/picture-prefix.sh" calibration-picture

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
