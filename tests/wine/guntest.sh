#!/usr/bin/env bash
# Gun Test read from outside, one run, as a user sees it: started with no gun,
# then the gun plugged in; the raw position and where Glimmerdot would put the
# cursor; each button named, two at once, aim off the screen; all the while the
# cursor stays where it is and no mouse input goes out; the read rate; the
# note while Glimmerdot runs beside it; the gun pulled out and back, a short
# read; reads that keep failing close the link, which is opened again; a gun
# listed that refuses the open; which copy of the settings this run uses; Esc
# ends it, having written nothing. Then the play settings: a stored value that
# is not valid shown as such and left alone, the choices read by the press
# line at once, Save writing the ten bytes, Defaults removing them.
. "$GLIMMER_SOURCE/tests/wine/glimmerdot.sh"

GUN_PATH='\\?\root#gunsim#0000#{1f6c1aaa-0919-4a8d-b0cd-68566229de66}'
NOTE='Glimmerdot is running: both programs are reading the same gun'

# The text of control ID as the program shows it.
text_of() {
  control_text tested "$1"
}

# Waits for "Gun found: " and checks the path after it.
expect_found() {
  tested_may wait textstart 2001 '"Gun found: "' 30000 >/dev/null 2>"$TEST_OUT/inspect.err" || fail "$1: expected 'Gun found', $(cat "$TEST_OUT/inspect.err")"
  local status
  status=$(text_of 2001)
  expect_eq "${status,,}" "gun found: $GUN_PATH" "$1: the status line"
}

# The gun at raw RX,RY with buttons B0 B1: Gun Test shows it and where the
# cursor would go (TEXT, or worked out here as the emulator scales).
expect_shown() {
  local b0=$1 b1=$2 rx=$3 ry=$4 cursor=${5:-} x y
  gun state "$b0" "$b1" "$rx" "$ry"
  if [[ -z $cursor ]]; then
    read -r x y <<<"$(screen_point "$rx" "$ry")"
    cursor="Cursor $x, $y on $SCREEN_W x $SCREEN_H"
  fi
  expect_text 2002 "Raw X $rx, Y $ry" "raw $rx,$ry"
  expect_text 2003 "Button bytes $b0 $b1" "bytes at raw $rx,$ry"
  expect_text 2005 "$cursor" "cursor for raw $rx,$ry"
}

expect_no_report() {
  expect_text 2002 "Raw X -, Y -" "raw $1"
  expect_text 2003 "Button bytes -- --" "bytes $1"
  expect_text 2004 "Held: -" "held $1"
  expect_text 2005 "Cursor -" "cursor $1"
}

reads_per_second() {
  local text
  text=$(text_of 2006)
  [[ $text =~ ^Reads\ per\ second:\ ([0-9]+)$ ]] || fail "reads per second: '$text'"
  echo "${BASH_REMATCH[1]}"
}

# The picture control as the screen shows it, into FILE.
snap_picture() {
  local l t r b
  IFS=, read -r l t r b <<<"$(field "$(tested text 2008)" rect)"
  import -display "$DISPLAY" -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$1" 2>/dev/null
}

# The picture once the gun's last report is painted: a paint comes before the
# next tick's timer message, so two more reads and it is on the screen.
snap_settled() {
  let_reads_pass 2
  snap_picture "$1" || fail "no picture into $1"
}

# Waits until the picture is painted the same as FILE (same) or otherwise (differs).
expect_picture() {
  local how=$1 file=$2 what=$3 want=1 seen="did not change from"
  [[ $how == same ]] && want=0 seen="did not come back to"
  wait_for "snap_picture \"\$TEST_OUT/now.png\" && { compare -metric AE \"\$TEST_OUT/now.png\" \"\$file\" null: 2>/dev/null; (( \$? == $want )); }" 20 ||
    fail "$what: the picture $seen ${file##*/} (now.png)"
}

gunsim_batch_start
gun pull
gun readlen 6
gun state FF FF 416 128
settings_clear

# ---- Started with no gun at all: the status says so, the rest is empty.
guntest_start
window=$GUNTEST_WINDOW
IFS=, read -r SCREEN_W SCREEN_H <<<"$(field "$window" screen)"
expect_eq "$(field "$window" class)" '"#32770"' "Gun Test's window class"
style=$(field "$window" style)
# A minimise box and a close box (the system menu), no sizing border.
expect_eq "$((style & 0x000A0000)) $((style & 0x00040000))" "$((0x000A0000)) 0" "Gun Test's window style $style"
expect_text 2001 "No gun found: is the gun's driver installed and the gun plugged in?" "status with no gun"
expect_no_report "with no gun"
# Wine's token says elevated and not virtualized: the computer's copy (Wine
# keeps no user's copy at all).
expect_text 2012 "Settings: the computer's copy (without administrator: your own copy)" "the settings line"
expect_text 2029 "Play settings: none stored; Glimmerdot uses the defaults" "the play line with nothing stored"
expect_text 2013 "A press: Glimmerdot puts no gun button on the left click" "the press line without Glimmerdot's choices"
note=$(tested text 2007)
expect_eq "$(field "$note" visible) $(field "$note" text)" '0 ""' "the note without Glimmerdot"

# ---- Plugged in: found by itself, with no notice and no click.
gun plug
expect_found "after plugging in"
expect_text 2004 "Held: none" "held, nothing pressed"
expect_shown FF FF 416 128

# ---- The cursor stays put and no mouse input goes out while the gun moves
# and its buttons are pressed: the cursor parks where no aim below maps to.
tested movecursor 13 17 >/dev/null
record_start 600000 moves
expect_shown FF FF 300 100
expect_shown FF FF 672 224
expect_shown FF FF 160 32
expect_shown FF FF 100 20
expect_shown FF FF 700 300
expect_shown FF FF 1 100 "aimed off screen: the cursor stays"
expect_shown FF FF 500 5 "aimed off screen: the cursor stays"
expect_shown FF FF 200 200
for pressed in "FF 7F Start" "FF BF Select" "FB FF A" "F7 FF B" "FD FF C" "FF DF D"; do
  read -r b0 b1 name <<<"$pressed"
  expect_shown "$b0" "$b1" 200 200
  expect_text 2004 "Held: $name" "held with $b0 $b1"
  expect_shown FF FF 200 200
  expect_text 2004 "Held: none" "held after releasing $name"
done
# Two at once, and a bit no label uses.
expect_shown F3 FF 200 200
expect_text 2004 "Held: no assignable button (F3 FF)" "held with A and B"
expect_shown FE FF 200 200
expect_text 2004 "Held: no assignable button (FE FF)" "held with an unused bit"
# Held off the screen: still named, still no cursor.
expect_shown FB FF 1 100 "aimed off screen: the cursor stays"
expect_text 2004 "Held: A" "held off the screen"
# The picture: a lamp lights, the crosshair moves, and both go back.
expect_shown FF FF 200 200
expect_text 2004 "Held: none" "held before the pictures"
snap_settled "$TEST_OUT/idle.png"
expect_shown FB FF 200 200
expect_picture differs "$TEST_OUT/idle.png" "with A held"
expect_shown FF FF 400 150
expect_picture differs "$TEST_OUT/idle.png" "aimed elsewhere"
expect_shown FF FF 200 200
expect_picture same "$TEST_OUT/idle.png" "aimed back, A released"
# Past the far corner the crosshair stays on the corner, in another colour.
expect_shown FF FF 672 224
snap_settled "$TEST_OUT/corner.png"
expect_shown FF FF 700 300
expect_picture differs "$TEST_OUT/corner.png" "aimed past the far corner"
expect_shown FF FF 416 128
let_reads_pass 5
expect_eq "$(inspect cursor)" "cursor x=13 y=17" "the cursor after Gun Test read every aim"
# A move of our own ends the record: the hook saw whatever came before it first.
tested movecursor 14 17 input >/dev/null
wait_for "grep -q 'name=move x=14 y=17' \"\$TEST_OUT/record.txt\"" 30 || fail "the record missed the closing move"
record_stop
expect_eq "$(recorded | cut -d' ' -f1-3 | tr '\n' ';')" "move 14 17;" "mouse input while Gun Test ran"

# ---- Reads over the last second: about one per 60 ms tick, however slow.
wait_for "(( \$(reads_per_second) >= 3 ))" 30 || fail "reads per second stayed at $(reads_per_second)"
rate=$(reads_per_second)
((rate <= 40)) || fail "$rate reads per second, expected at most 40"

# ---- Glimmerdot beside it: the note while its window exists, and both read.
app_start
tested wait shown 2007 1 20000 >/dev/null || fail "no note while Glimmerdot runs"
expect_text 2007 "$NOTE" "the note while Glimmerdot runs"
expect_shown FF FF 300 100
expect_found "beside Glimmerdot"
app_ended click 2
tested wait shown 2007 0 20000 >/dev/null || fail "the note stayed after Glimmerdot ended"
expect_text 2007 "" "the note after Glimmerdot ended"

# ---- Pulled out: unplugged, a device-change notice finds nothing, no reads;
# plugged back: found again by itself, with no more handles than before.
handles=$(tested handles)
gun pull
expect_text 2001 "Gun unplugged: plug it back in" "status after the pull"
# A gun that went shows no last report as if it were its state now.
expect_no_report "after the pull"
gun devicechange
expect_text 2001 "Gun unplugged: plug it back in" "status after a notice without the gun"
wait_for "(( \$(reads_per_second) == 0 ))" 30 || fail "reads per second without the gun: $(reads_per_second)"
gun state FF FF 672 224
gun plug
expect_found "after plugging back in"
expect_shown FF FF 672 224
expect_handles_back "$handles" "over a pull and plug" --caption '"Glimmerdot Gun Test"'

# ---- A short read says how short; a full one is found again.
gun readlen 3
expect_text 2001 "Short read: 3 of 6 bytes" "status after a short read"
gun readlen 6
expect_found "after full reads again"

# ---- Reads failing with another error than 1167: after a short run the link
# is closed (one file handle fewer) and the gun looked for again, the error
# still shown and no report shown as live; found again once reads answer.
handles=$(tested handles)
gun readerror 31
expect_text 2001 "Reads keep failing: error 31; looking for the gun again" "status while reads fail"
expect_no_report "while reads fail"
wait_for "(( \$(field \"\$(tested handles)\" count) < $(field "$handles" count) ))" 30 ||
  fail "the link stayed open while reads failed: $(tested handles), before $handles"
gun readerror off
expect_found "after reads answer again"
expect_shown FF FF 300 100
expect_handles_back "$handles" "over failing reads" --caption '"Glimmerdot Gun Test"'

# ---- Listed, but the open is refused: a line of its own with the error, and
# found by itself once the gun opens again. The link goes through failing reads.
gun refuse on
gun readerror 22
refused="Gun listed, but it does not open: error 5 (another program holds it, or its driver refuses access)"
expect_text 2001 "$refused" "status while the open is refused"
expect_no_report "while the open is refused"
gun readerror off
gun devicechange
expect_text 2001 "$refused" "status after a notice, still refused"
gun refuse off
expect_found "after the open is allowed again"
expect_shown FF FF 416 128
expect_handles_back "$handles" "over refused opens" --caption '"Glimmerdot Gun Test"'

# ---- Esc ends it, leaving no window.
tested key esc + waitexit 30000 >/dev/null
left=$(inspect --pid "$GUNTEST_PID" windows)
expect_eq "$(field "${left##*| }" count)" 0 "windows left after Esc"
GUNTEST_PID=
# It wrote nothing: its writes (the calibration, the play settings) wait for the user's word.
expect_eq "$(wine_run 60 reg query "$SETTINGS_KEY" /s 2>/dev/null | tr -d '\r' | grep -c REG_)" 0 \
  "registry values after Gun Test ran"

# ---- The play settings, with Glimmerdot's choices putting A on the left click.
settings_seed 03000000
malformed=010000000301000004
play_set $malformed
play_value() { settings_value Play | tr a-f A-F; }
gun state FF FF 416 128
guntest_start
expect_text 2029 "Play settings: the stored value is not valid, so Glimmerdot uses the defaults; Defaults removes it" \
  "the play line on a value that is not valid"
expect_eq "$(field "$(tested combo 2021)" text)" '"Hold the cursor"' "off screen on a value that is not valid"
read -r x y <<<"$(screen_point 416 128)"
expect_text 2013 "Press A now: left click at $x, $y" "the press line aimed at the screen"
gun state FF FF 1 100
expect_text 2013 "Press A now, off screen: left click where the cursor stays" "the press line off screen, by default"
tested select 2021 3 >/dev/null
expect_text 2013 "Press A now, off screen: right click where the cursor stays" "the press line with Right click chosen"
expect_eq "$(play_value)" $malformed "the value that is not valid, after choosing"
tested select 2022 1 + select 2023 2 + click 2024 + select 2025 4 + select 2026 6 + click 2027 >/dev/null
expect_text 2029 "Play settings: saved; Glimmerdot uses them from its next Start" "the play line after Save"
expect_eq "$(play_value)" 0100000003010F010406 "the value Save wrote"
expect_text 2013 "Press A now, off screen: right button held where the cursor stays" "the press line with held buttons"
tested click 2028 >/dev/null
expect_text 2029 "Play settings: removed; Glimmerdot uses the defaults from its next Start" "the play line after Defaults"
expect_eq "$(play_value)" "" "the value after Defaults"
expect_eq "$(field "$(tested combo 2021)" text)" '"Hold the cursor"' "off screen after Defaults"
expect_text 2013 "Press A now, off screen: left click where the cursor stays" "the press line after Defaults"
tested key esc + waitexit 30000 >/dev/null
GUNTEST_PID=
settings_clear
gun state FF FF 416 128
pass "screen ${SCREEN_W}x$SCREEN_H, $rate reads per second"
