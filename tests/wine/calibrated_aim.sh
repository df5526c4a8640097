#!/usr/bin/env bash
# A calibration stored beside the settings, as Gun Test saves it: Start reads
# it and the cursor follows the calibrated window; one written while running
# waits for the next Start; a malformed one gives the default placements and
# stays as it was; one for a display that is not there maps onto the primary.
# Version 2 adds the monitor's interface name: found by it while the display's
# name is wrong, by the name while the monitor is unknown. (Wine shows one
# display, so which way it was found cannot show in the placements.)
# With no calibration, at Wine's 150 % (LogPixels 144), the placements are the
# same pixels: Glimmerdot's window grows, and Gun Test starts there beside it.
. "$GLIMMER_SOURCE/tests/wine/glimmerdot.sh"

# The stored value as hex: version 1, then raw X at the left and right edges,
# raw Y at the top and bottom (little-endian floats), then the display's name
# in 32 bytes. The window here: X 200..600, Y 39.5..210.25.
VERSION=01000000
WINDOW=000048430000164400001e4200405243
NAME_NONE=$(printf '%064d' 0)
# "\\.\DISPLAY9", a display this machine does not have.
NAME_GONE=5c5c2e5c444953504c41593900000000$(printf '%032d' 0)
CALIBRATED="200 600 39.5 210.25"
# An interface name no monitor here has.
MONITOR_UNKNOWN='\\?\DISPLAY#ACR0001#5&0&0&UID9#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}'

calibration_set() {
  wine_run 60 reg add "$SETTINGS_KEY" /v Calibration /t REG_BINARY /d "$1" /f >/dev/null ||
    fail "writing the calibration"
}

calibration_delete() {
  wine_run 60 reg delete "$SETTINGS_KEY" /v Calibration /f >/dev/null 2>&1 || true
}

# The value's bytes as reg shows them, lower case, or nothing.
calibration_stored() {
  wine_run 60 reg query "$SETTINGS_KEY" /v Calibration 2>/dev/null | tr -d '\r' |
    awk '$1 == "Calibration" { print tolower($3) }'
}

restart_conversion() {
  inspect click 1004 + wait enabled 1005 1 20000 + click 1005 + wait enabled 1004 1 20000 >/dev/null ||
    fail "Stop and Start: $1"
}

gunsim_batch_start
settings_clear
settings_seed 03020400
gun plug
gun readlen 6
gun state FF FF 416 128
calibration_set "$VERSION$WINDOW$NAME_NONE"
app_start
IFS=, read -r SCREEN_W SCREEN_H <<<"$(field "$(inspect window)" screen)"
display=$(inspect display)
DEVICE=$(unquoted "$(field "$display" device)")
MONITOR=$(unquoted "$(field "$display" monitor)")
[[ $DEVICE == '\\.\DISPLAY'* && $MONITOR == '\\?\DISPLAY#'* ]] || fail "the display's names: $display"
inspect click 1005 + wait enabled 1004 1 20000 >/dev/null || fail "the conversion did not start"

# ---- The corners, the middle, beyond the window, and the off-screen markers.
AIM_WINDOW=$CALIBRATED
aim 200 40
aim 600 210
aim 200 210
aim 600 40
aim 400 125
aim 201 41
aim 150 20
aim 700 300
aim 333 99
gun state FF FF 1 100
let_reads_pass 4
cursor=$(inspect cursor)
expect_eq "$(field "$cursor" x) $(field "$cursor" y)" "$(screen_point 333 99)" "the cursor after aiming off the screen"

# ---- Taken away while running: still in force until the next Start.
calibration_delete
aim 300 100
restart_conversion "after the calibration was removed"
AIM_WINDOW=
aim 300 100
aim 672 224
aim 160 32

# ---- Malformed (version 2): today's placements, the value as it was.
calibration_set "02000000$WINDOW$NAME_NONE"
restart_conversion "with a malformed calibration"
aim 416 128
aim 300 100
expect_eq "$(calibration_stored)" "02000000$WINDOW$NAME_NONE" "the malformed value after Start"
# Too short by one byte likewise.
calibration_set "$VERSION$WINDOW${NAME_NONE:2}"
restart_conversion "with a short calibration"
aim 672 32
expect_eq "$(calibration_stored)" "$VERSION$WINDOW${NAME_NONE:2}" "the short value after Start"

# ---- For a display that is gone: the primary, with the calibration's window.
calibration_set "$VERSION$WINDOW$NAME_GONE"
restart_conversion "with a calibration for a display that is gone"
AIM_WINDOW=$CALIBRATED
aim 600 210
aim 400 125

# ---- Version 2: the monitor's name found while the display's name is one not attached.
SECOND="02000000$WINDOW$NAME_GONE$(name_hex "$MONITOR" 128)"
calibration_set "$SECOND"
restart_conversion "with a calibration for this monitor under a display name that is gone"
aim 600 210
aim 201 41
expect_eq "$(calibration_stored)" "$SECOND" "the version 2 value after Start"
# An unknown monitor on this display's name.
calibration_set "02000000$WINDOW$(name_hex "$DEVICE" 32)$(name_hex "$MONITOR_UNKNOWN" 128)"
restart_conversion "with a calibration for an unknown monitor on this display's name"
aim 400 125
aim 200 40
# The monitor's name without its end: malformed, the default placements.
calibration_set "02000000$WINDOW$NAME_GONE$(printf '41%.0s' {1..128})"
restart_conversion "with a version 2 value whose monitor name has no end"
AIM_WINDOW=
aim 416 128
aim 672 224

# ---- Play settings: off screen the cursor stands on the display's top-left
# or last pixel and follows the aim at once when it is back; for raw-input
# readers each placement is followed by a move pair that leaves the cursor
# where it was placed, with the pointer's acceleration off and on. (Wine 8
# applies no acceleration to the pair, and its hook sees the +1 off the last
# column unclipped; GetCursorPos gives the placed pixel even without the
# second placement, whose order the host test holds.)
calibration_delete
# Back at the spot it left, several reads on: the cursor must stand there.
# Off the screen every read places it again, pair and all, so one look may
# fall between the pair's -1 and the placement after it: looked at until then.
stays_at() {
  let_reads_pass 4
  inspect wait cursor "$1" "$2" 20000 >/dev/null || fail "$3: the cursor is not at $1 $2 ($(inspect cursor))"
}
play_set 0100000001003C000000
restart_conversion "with the top-left corner"
aim 416 128
gun state FF FF 1 100
inspect wait cursor 0 0 20000 >/dev/null || fail "the cursor off the screen is not on the top-left pixel"
aim 416 128
ACCEL=$(inspect mouseaccel)
record_start 600000 moves
for accel in "0 0 0" "6 10 1" "0 0 2"; do
  inspect mouseaccel "$accel" >/dev/null
  play_set 0100000002003C010000
  restart_conversion "with the bottom-right corner and raw input, acceleration $accel"
  gun state FF FF 300 5
  inspect wait cursor $((SCREEN_W - 1)) $((SCREEN_H - 1)) 20000 >/dev/null ||
    fail "the cursor off the screen is not on the last pixel, acceleration $accel"
  stays_at $((SCREEN_W - 1)) $((SCREEN_H - 1)) "on the last pixel after the move pair, acceleration $accel"
  aim 300 100
  read -r x y <<<"$(screen_point 300 100)"
  stays_at "$x" "$y" "at raw 300,100 after the move pair, acceleration $accel"
done
record_stop
inspect mouseaccel "$(field "$ACCEL" thresholds | tr , ' ')" "$(field "$ACCEL" level)" >/dev/null
# The pairs went out: off the last pixel one each placement, under every acceleration.
MOVES=$(recorded move | awk -v y=$((SCREEN_H - 1)) '$3 == y { n++; if (n <= 2) first = first " " $2 "," $3 } END { print n + 0 first }')
((${MOVES%% *} >= 6)) || fail "too few moves recorded at the last pixel's row: $MOVES"
play_delete

# ---- At 150 %, with no calibration.
client=$(field "$(inspect window)" client)
inspect click 1004 + wait enabled 1005 1 20000 >/dev/null || fail "the conversion did not stop"
app_ended click 2
calibration_delete
scale_set 144
app_start
scaled=$(field "$(inspect window)" client)
[[ $scaled != "$client" ]] || fail "the window at LogPixels 144 is as large as at 96: $scaled"
inspect click 1005 + wait enabled 1004 1 20000 >/dev/null || fail "the conversion did not start at LogPixels 144"
aim 672 224
aim 160 32
aim 416 128
guntest_start
expect_text 2005 "Cursor $(screen_point 416 128 | sed 's/ /, /') on $SCREEN_W x $SCREEN_H" "Gun Test at LogPixels 144"
tested key esc + waitexit 30000 >/dev/null
GUNTEST_PID=

inspect click 1004 + wait enabled 1005 1 20000 >/dev/null || fail "the conversion did not stop"
app_ended click 2
pass "on ${SCREEN_W}x$SCREEN_H, monitor $MONITOR; moves at the last row (count, first two): $MOVES; at LogPixels 144 the window $client -> $scaled"
