#!/usr/bin/env bash
# Calibrating a gun whose aim is skewed against the fixed window, in Gun Test,
# as a user would, read and driven from outside: each target's point read off
# the calibration screen, the gun aimed where that gun aims at it, a press and
# a release. Esc in the middle writes nothing; a kept calibration shows in
# Gun Test and takes Glimmerdot's cursor to where the skewed gun aims at its
# next Start; Reset, and a malformed value, give the default placements.
. "$GLIMMER_SOURCE/tests/wine/glimmerdot.sh"

# The skewed gun: raw X 200..600 and raw Y 40..210 span the screen.
SKEW_X=(200 600)
SKEW_Y=(40 210)
STEP_TEXT='Aim at the target and press any gun button'
VERDICT_TEXT='Keep it: any gun button or Enter. Try again: Backspace, or a gun button aimed off the screen'

on_screen() {
  inspect --caption '"Glimmerdot Calibration"' "$@"
}

# Waits until the calibration screen's line ID reads TEXT.
expect_screen() {
  inspect_may --caption '"Glimmerdot Calibration"' wait text "$1" "\"$2\"" 20000 >/dev/null 2>"$TEST_OUT/inspect.err" ||
    fail "$3: expected '$2', $(cat "$TEST_OUT/inspect.err")"
}

expect_step() {
  expect_screen 2101 "$STEP_TEXT (step $1 of 3)" "$2"
}

# Where the skewed gun aims at screen point X,Y, in whole raw units as a gun reports them.
skewed_aim() {
  awk -v x="$1" -v y="$2" -v w="$SCREEN_W" -v h="$SCREEN_H" -v l="${SKEW_X[0]}" -v r="${SKEW_X[1]}" \
    -v t="${SKEW_Y[0]}" -v b="${SKEW_Y[1]}" \
    'BEGIN { printf "%d %d\n", int(l + x * (r - l) / w + 0.5), int(t + y * (b - t) / h + 0.5) }'
}

# True when point AX,AY lies within one raw unit's worth of pixels of WX,WY on each axis.
within_resolution() {
  awk -v ax="$1" -v ay="$2" -v wx="$3" -v wy="$4" -v w="$SCREEN_W" -v h="$SCREEN_H" \
    -v sx=$((SKEW_X[1] - SKEW_X[0])) -v sy=$((SKEW_Y[1] - SKEW_Y[0])) \
    'function far(d, pixels) { return (d < 0 ? -d : d) > pixels } BEGIN { exit far(ax - wx, w / sx) || far(ay - wy, h / sy) }'
}

# The gun idle at RX,RY until two more reads saw it.
gun_rest() {
  gun state FF FF "$1" "$2"
  let_reads_pass 2
}

# Answers the target the screen shows now with the skewed gun and "A"; the
# step after it must read NEXT (a line ID and its text), and still read so
# while "A" stays held over more reads.
answer_target() {
  local next_id=$1 next_text=$2 target x y rx ry
  target=$(control_text on_screen 2102)
  [[ $target =~ ^Target\ at\ (-?[0-9]+),\ (-?[0-9]+)$ ]] || fail "target line '$target'"
  x=${BASH_REMATCH[1]} y=${BASH_REMATCH[2]}
  read -r rx ry <<<"$(skewed_aim "$x" "$y")"
  gun_rest "$rx" "$ry"
  gun state FB FF "$rx" "$ry"
  expect_screen "$next_id" "$next_text" "after answering the target at $x,$y with raw $rx,$ry"
  let_reads_pass 3
  expect_eq "$(control_text on_screen "$next_id")" "$next_text" "A held on after answering the target at $x,$y"
  gun_rest "$rx" "$ry"
}

calibrate_until_verdict() {
  expect_step 1 "$1: the first target"
  answer_target 2101 "$STEP_TEXT (step 2 of 3)"
  answer_target 2101 "$STEP_TEXT (step 3 of 3)"
  answer_target 2101 "$VERDICT_TEXT"
}

# The screen comes up over the whole display, without a frame.
open_calibration() {
  tested clickat 2010 >/dev/null
  local window
  window=$(on_screen wait visible 1 30000 + waitidle 30000 + window)
  expect_eq "$(field "$window" rect)" "0,0,$SCREEN_W,$SCREEN_H" "the calibration screen's rectangle"
  expect_eq "$(($(field "$window" style) & 0x00C40000))" 0 "the calibration screen's caption and frame bits"
}

calibration_value() {
  wine_run 60 reg query "$SETTINGS_KEY" /v Calibration 2>/dev/null | tr -d '\r' | awk '$1 == "Calibration" { print $2, $3 }'
}

# The cursor, within the skewed gun's resolution of WX,WY; what it was goes to SEEN.
# shellcheck disable=SC2317 # run by wait_for
cursor_near() {
  SEEN=$(inspect cursor)
  [[ $SEEN =~ x=(-?[0-9]+)\ y=(-?[0-9]+) ]] && within_resolution "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "$1" "$2"
}

# Glimmerdot, having read the skewed gun aimed at screen point X,Y, puts the
# cursor within that gun's resolution of it (as far as the clamp lets it come).
expect_cursor_near() {
  local x=$1 y=$2 rx ry want_x want_y
  read -r rx ry <<<"$(skewed_aim "$x" "$y")"
  want_x=$((x < SCREEN_W - 4 ? x : SCREEN_W - 4))
  want_y=$((y < SCREEN_H - 4 ? y : SCREEN_H - 4))
  gun state FF FF "$rx" "$ry"
  wait_for "cursor_near $want_x $want_y" 20 || fail "aimed at $x,$y (raw $rx,$ry): the $SEEN, wanted within a raw unit of $want_x,$want_y"
}

# Glimmerdot's default placements, exactly, at the corners and the middle.
expect_default_placements() {
  inspect click 1004 + click 1005 + wait enabled 1005 0 20000 >/dev/null || fail "Stop and Start: $1"
  local point
  for point in "160 32" "672 32" "160 224" "672 224" "416 128" "300 100"; do
    # shellcheck disable=SC2086 # two words, raw X and Y
    aim $point
  done
}

gunsim_batch_start
settings_clear
gun state FF FF 416 128
guntest_start
IFS=, read -r SCREEN_W SCREEN_H <<<"$(field "$GUNTEST_WINDOW" screen)"
expect_text 2009 "Calibration: default window" "the calibration line with nothing stored"

# ---- A button held as the screen opens answers nothing; Backspace brings the first target back; the gun pulled out is waited
# for; Esc leaves with nothing written.
gun_rest 416 128
gun state FB FF 416 128
expect_text 2004 "Held: A" "A held before calibrating"
open_calibration
gun_rest 416 128
expect_step 1 "the first target, A held as the screen opened and then let go"
first_target=$(control_text on_screen 2102)
expect_screen 2104 "" "the note before any answer"
answer_target 2101 "$STEP_TEXT (step 2 of 3)"
on_screen key backspace >/dev/null
expect_step 1 "after Backspace"
expect_eq "$(control_text on_screen 2102)" "$first_target" "the target after Backspace"
gun state FF FF 1 100
gun state FB FF 1 100
expect_screen 2104 "Aimed off the screen: aim at the target and press again" "a press aimed off the screen"
gun_rest 1 100
gun pull
expect_screen 2104 "Waiting for the gun" "the gun pulled out"
gun plug
expect_screen 2104 "" "the gun back"
expect_step 1 "the gun back"
expect_eq "$(control_text on_screen 2102)" "$first_target" "the target after the gun came back"
answer_target 2101 "$STEP_TEXT (step 2 of 3)"
on_screen key esc + wait gone 20000 >/dev/null
expect_eq "$(calibration_value)" "" "the stored calibration after Esc"
expect_text 2009 "Calibration: default window" "the calibration line after Esc"

# ---- The whole calibration; a press aimed off the screen at the verdict
# tries again; the second time Enter keeps it.
open_calibration
calibrate_until_verdict "the first round"
gun state FB FF 1 100
expect_step 1 "after a press aimed off the screen at the verdict"
gun_rest 1 100
calibrate_until_verdict "the second round"
check=$(control_text on_screen 2103)
[[ $check =~ ^Centre\ check:\ the\ aim\ landed\ ([0-9]+)\ px\ (left|right)\ and\ ([0-9]+)\ px\ (up|down)\ from\ the\ target$ ]] ||
  fail "the centre check reads '$check'"
within_resolution "${BASH_REMATCH[1]}" "${BASH_REMATCH[3]}" 0 0 || fail "the centre check is beyond the gun's resolution: '$check'"
on_screen key enter + wait gone 20000 >/dev/null

# Version 2: the window, then the display's name and its monitor's interface
# name as the system gives them.
stored=$(calibration_value)
display=$(inspect display)
names=$(name_hex "$(unquoted "$(field "$display" device)")" 32)$(name_hex "$(unquoted "$(field "$display" monitor)")" 128)
[[ ${stored^^} =~ ^REG_BINARY\ 02000000[0-9A-F]{32}(.{320})$ && ${BASH_REMATCH[1]} == "${names^^}" ]] ||
  fail "the stored calibration: '$stored', expected version 2 ending in the names of $display"
line=$(control_text tested 2009)
[[ $line =~ ^Calibration:\ X\ ([0-9.]+)\.\.([0-9.]+),\ Y\ ([0-9.]+)\.\.([0-9.]+)\ on\ .+$ ]] ||
  fail "the calibration line after keeping it: '$line'"
# The solved window lies within a raw unit of the skewed gun's.
awk -v l="${BASH_REMATCH[1]}" -v r="${BASH_REMATCH[2]}" -v t="${BASH_REMATCH[3]}" -v b="${BASH_REMATCH[4]}" \
  -v sl="${SKEW_X[0]}" -v sr="${SKEW_X[1]}" -v st="${SKEW_Y[0]}" -v sb="${SKEW_Y[1]}" 'function off(a, b) {
    return a - b > 1 || b - a > 1 } BEGIN { exit off(l, sl) || off(r, sr) || off(t, st) || off(b, sb) }' ||
  fail "the solved window is not the skewed gun's: '$line'"
read -r rx ry <<<"$(skewed_aim $((SCREEN_W / 2)) $((SCREEN_H / 2)))"
gun_rest "$rx" "$ry"
cursor_line=$(control_text tested 2005)
if ! [[ $cursor_line =~ ^Cursor\ ([0-9]+),\ ([0-9]+)\ on\ ${SCREEN_W}\ x\ ${SCREEN_H}$ ]] ||
  ! within_resolution "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" $((SCREEN_W / 2)) $((SCREEN_H / 2)); then
  fail "Gun Test's cursor line for the skewed gun at the middle: '$cursor_line'"
fi

# ---- Glimmerdot, started after the calibration, follows the skewed gun.
settings_seed 03020400
app_start
inspect click 1005 + wait enabled 1005 0 20000 >/dev/null || fail "Glimmerdot did not start converting"
for point in "0 0" "$((SCREEN_W - 1)) 0" "0 $((SCREEN_H - 1))" "$((SCREEN_W - 1)) $((SCREEN_H - 1))" \
  "$((SCREEN_W / 2)) $((SCREEN_H / 2))" "$((SCREEN_W / 3)) $((SCREEN_H * 2 / 3))"; do
  # shellcheck disable=SC2086 # two words, X and Y
  expect_cursor_near $point
done

# ---- Reset: the line says default, the value is gone, and the next Start
# places the cursor exactly as with nothing stored.
tested click 2011 >/dev/null
expect_text 2009 "Calibration: default window" "the calibration line after Reset"
expect_eq "$(calibration_value)" "" "the stored calibration after Reset"
expect_default_placements "after Reset"

# ---- A value of the wrong size: the default placements, the value left as it was.
wine_run 60 reg add "$SETTINGS_KEY" /v Calibration /t REG_BINARY /d 01000000C8 /f >/dev/null || fail "adding a short value"
expect_default_placements "with a malformed value"
expect_eq "$(calibration_value)" "REG_BINARY 01000000C8" "the malformed value after Glimmerdot's Start"
app_ended click 2
tested key esc + waitexit 30000 >/dev/null
GUNTEST_PID=
guntest_start
expect_text 2009 "Calibration: default window" "Gun Test's line with the malformed value"
tested key esc + waitexit 30000 >/dev/null
GUNTEST_PID=
expect_eq "$(calibration_value)" "REG_BINARY 01000000C8" "the malformed value after Gun Test"
gun state FF FF 416 128
pass "centre check: $check; $line"
