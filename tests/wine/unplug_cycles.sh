#!/usr/bin/env bash
# The gun pulled out and plugged back 50 times while the conversion runs, with
# the device-change notices the system sends: afterwards the program still
# runs, holds no more handles than with its one link open, and still clicks
# where the gun points.
. "$GLIMMER_SOURCE/tests/wine/glimmerdot.sh"

CYCLES=${GLIMMER_UNPLUG_CYCLES:-50}

handle_count() {
  field "$(inspect handles)" count
}

gunsim_batch_start
gun plug
gun state FF FF 416 128
settings_seed 03000000 # left: "A"
app_start
handles_closed=$(handle_count)
inspect click 1005 + wait enabled 1004 1 20000 >/dev/null
let_reads_pass 3
open_handles=$(inspect handles)
handles_open=$(field "$open_handles" count)
((handles_open > handles_closed)) || fail "opening the gun took no handle ($handles_closed, then $handles_open)"

for ((cycle = 1; cycle <= CYCLES; cycle++)); do
  failed=$(gun_value failed)
  gun pull
  # The first read that fails closes the link; the timer goes on idle.
  gun wait-failed $((failed + 1)) 20000
  # Every other time the removal's own notice comes first, and the reopen it
  # tries finds no gun.
  ((cycle % 2 == 0)) || gun devicechange
  gun plug
  gun devicechange
  inspect wait enabled 1005 1 20000 + wait enabled 1004 0 20000 >/dev/null ||
    fail "cycle $cycle: not stopped after the device-change notice"
  inspect click 1005 + wait enabled 1004 1 20000 >/dev/null || fail "cycle $cycle: Start did not run"
  let_reads_pass 2
done

expect_handles_back "$open_handles" "over $CYCLES cycles"
handles_after=$(handle_count)
echo "handles: $handles_closed with the link closed, $handles_open open, $handles_after after $CYCLES cycles"

# Still running, and one press of "A" is one left click where the cursor is.
inspect wait enabled 1005 0 5000 + wait enabled 1004 1 5000 >/dev/null || fail "not running after the cycles"
gun state FF FF 300 100
let_reads_pass 3
cursor=$(inspect cursor)
spot="$(field "$cursor" x) $(field "$cursor" y)"
record_start 600000
gun state FB FF 300 100
let_reads_pass 5
gun state FF FF 300 100
let_reads_pass 5
expect_eq "$(recorded_count leftdown) $(recorded_count leftup)" "1 1" "left down and up for one press of A"
read -r _ x y _ <<<"$(recorded leftdown)"
expect_eq "$x $y" "$spot" "where the left click lands"
expect_eq "$(recorded | grep -cv '^left')" 0 "other button events"
record_stop

app_ended close
pass "$CYCLES cycles; handles $handles_open before, $handles_after after"
