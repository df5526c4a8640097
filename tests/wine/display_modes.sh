#!/usr/bin/env bash
# A game switches the display to a mode of its own and back while the gun
# drives the cursor: on each mode the cursor goes where the gun points, never
# into the last three rows and columns, and a gun held still is placed anew
# when the mode changes under it; Gun Test beside it names the point for the
# mode now, and its calibration screen, open while the mode changes, ends
# with nothing stored, Gun Test saying why. Runs in a Wine virtual desktop,
# whose mode can change.
. "$GLIMMER_SOURCE/tests/wine/glimmerdot.sh"

# Changes the mode the way a game does and checks what a program then reads.
display_mode() {
  local mode
  mode=$(inspect display "$1" "$2")
  expect_eq "$(field "$mode" width)x$(field "$mode" height)" "$1x$2" "the display mode after changing it"
  SCREEN_W=$1 SCREEN_H=$2
}

# The gun stays where it is: the next reads must place the cursor for the new size.
expect_cursor_for() {
  local point at
  point=$(screen_point "$1" "$2")
  expect_text 2005 "Cursor ${point/ /, } on $SCREEN_W x $SCREEN_H" "$3: Gun Test"
  # shellcheck disable=SC2086 # the point is two words, X and Y
  inspect_may wait cursor $point 20000 >/dev/null 2>&1 && return
  at=$(inspect cursor)
  fail "$3: the cursor stays at $(field "$at" x),$(field "$at" y), expected $point for raw $1,$2 on ${SCREEN_W}x$SCREEN_H"
}

gunsim_batch_start
settings_clear
settings_seed 03020400
# Whole reports at the middle, whatever a test that failed before left behind.
gun readlen 6
gun state FF FF 416 128
desktop_start Glimmerdisplay 1280x1024
app_start
guntest_start
mode=$(inspect display)
expect_eq "$(field "$mode" width)x$(field "$mode" height)" 1280x1024 "the virtual desktop's mode"
SCREEN_W=1280 SCREEN_H=1024
inspect click 1005 + wait enabled 1004 1 20000 >/dev/null || fail "the conversion did not start"

aim 416 128
aim 672 224
aim 700 300
aim 160 32

# The gun held at the far corner while the mode shrinks: the system moves the
# cursor on the change (Wine to the top-left corner), the next reads put it back
# in the new mode's corner, short of its last three rows and columns.
aim 672 224
display_mode 800 600
expect_cursor_for 672 224 "far corner, after the change to 800x600"
aim 416 128
aim 160 32
aim 700 300
aim 416 128

# Back to the old mode with the gun at the centre: the cursor follows it out.
display_mode 1280 1024
expect_cursor_for 416 128 "centre, after the change back to 1280x1024"
aim 672 224
aim 160 32

inspect click 1004 + wait enabled 1005 1 20000 >/dev/null || fail "the conversion did not stop"
app_ended click 2

# ---- The calibration screen ends when the mode changes under it (it may be
# gone before the change returns); Gun Test's line changes once it has closed.
tested clickat 2010 >/dev/null
inspect --caption '"Glimmerdot Calibration"' wait visible 1 30000 + waitidle 30000 + display 800 600 >/dev/null
display_mode 800 600
expect_text 2009 "Calibration: default window (ended: the display changed)" "Gun Test's calibration line"
stored=$(wine_run 60 reg query "$SETTINGS_KEY" /v Calibration 2>/dev/null | tr -d '\r' | grep Calibration)
expect_eq "$stored" "" "the stored calibration after the screen ended"
display_mode 1280 1024
tested close + waitexit 30000 >/dev/null
GUNTEST_PID=
pass "1280x1024, 800x600 and back; the calibration screen ended on a change"
