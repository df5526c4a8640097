#!/usr/bin/env bash
# The real device link (i686 CGunDevice) against the simulated gun: it finds,
# opens and polls it, decodes a press edge once, lets go of the handle when the
# gun is pulled out and opens again once it is back.
. "$GLIMMER_SOURCE/tests/wine/lib.sh"

LINK_EXE=$GLIMMER_BUILD/tests/wine/gun_link.exe
[[ -f $LINK_EXE ]] || fail "no $LINK_EXE"

gunsim_batch_start
wine_session_start LINK "$LINK_EXE"

# STEP EXPECTED WHY: one step of the link, its answer compared whole.
step() {
  local reply
  reply=$(wine_session_ask LINK "$1") || exit 1
  expect_eq "$reply" "$2" "$1${3:+ ($3)}"
}

gun() {
  gunsim_send "$@" >/dev/null || fail "gunsimctl $*"
}

count() {
  local value
  value=$(gunsim_send "$1") || fail "gunsimctl $1"
  expect_eq "$value" "$2" "$3"
}

gun state FF FF 416 128
gun reads reset

step open "open 1" "the interface is found and opens"
step isopen "isopen 1"
step poll "poll 1 416 128 0000000000" "idle gun, middle of its window"

gun state FB FF 160 32
step poll "poll 1 160 32 0010000000" "pressing A gives flag 2"
step poll "poll 1 160 32 0000000000" "A held gives no second edge"
gun state FF FF 671 223
step poll "poll 1 671 223 0000000000" "release, bottom right"
count reads 4 "every poll is one read of the driver"

gun readlen 4
step poll "poll 0 671 223 0000000000" "a short read fails the poll and leaves everything as it was"
step isopen "isopen 1" "a short read keeps the link"
gun readlen 6

gun state FB FF 300 100
step poll "poll 1 300 100 0010000000" "A pressed before the pull"

gun pull
gun reads reset
step poll "poll 0 300 100 0010000000" "pulled out: the read fails, position and flags untouched"
step isopen "isopen 0" "error 1167 closes the link"
step poll "poll 0 300 100 0010000000" "closed: no read"
count failed 1 "only the first poll after the pull reaches the driver"
step open "open 0" "nothing to find while pulled out"

gun plug
step open "open 1" "found again after the plug"
step poll "poll 1 300 100 0000000000" "A still held: the report before the pull survived, no edge"
gun state FF FF 300 100
step poll "poll 1 300 100 0000000000"
gun state FB FF 300 100
step poll "poll 1 300 100 0010000000" "a new press after the reopen"

# Pulled and plugged back while nobody reads: the link keeps its old handle,
# which the driver no longer serves, and learns of it on the next read.
gun pull
gun plug
gun reads reset
step open "open 1" "an open link stays open"
step poll "poll 0 300 100 0010000000" "the old handle's read fails"
step isopen "isopen 0"
count failed 1 "the old handle was used"
step open "open 1"
step poll "poll 1 300 100 0000000000" "reads again through the new handle"

pass
