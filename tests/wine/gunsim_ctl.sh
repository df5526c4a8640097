#!/usr/bin/env bash
# The control program other tests and the demo script: it rejects what it
# cannot do with a non-zero exit and one line, plays traces to their last
# report, its device-change broadcast reaches a hidden window of another
# process, and the driver's read stamps add up to what a reader did.
. "$GLIMMER_SOURCE/tests/wine/lib.sh"

# Refusals: non-zero exit, one line on stderr, the gun's state untouched.
# Wine may write lines of its own there; the program's lines name it.
{ gunsim state FF FF 416 128 && gunsim reads reset >/dev/null; } || fail "setting the idle state"
for bad in "state 1FF FF 0 0" "state FF FF 65536 0" "state FF FF -1 0" "state FF FF 10" "readlen 7" "bogus"; do
  # shellcheck disable=SC2086
  if gunsim $bad >/dev/null 2>"$TEST_OUT/refusal"; then fail "'$bad' was accepted"; fi
  expect_eq "$(grep -c '^gunsimctl: ' "$TEST_OUT/refusal")" 1 "gunsimctl's lines on stderr for '$bad'"
done
expect_eq "$(gunsim status)" "plugged 1 state FF FF 416 128 reads 0 failed 0 readlen 6" "state after the refusals"

gunsim_batch_start
value=$(gunsim_send state 0xFB 7f 671 223 && gunsim_send status) || fail "state with 0x and lower case"
expect_eq "$value" "plugged 1 state FB 7F 671 223 reads 0 failed 0 readlen 6" "status"

# Traces: comments and blank lines skipped, the last report stays, every hold
# is waited out, and a bad line is named; a path with spaces, a '#' and
# letters outside the ANSI code page is taken whole, quoted on a batch line.
TRACES='traces de José, Ωmega #2'
mkdir -p "$GLIMMER_STAGE/$TRACES"
cat >"$GLIMMER_STAGE/$TRACES/good.trace" <<'EOF'
# sweep and press
FF FF 160 32 200

FB FF 400 100 200   # A down
FF FF 671 223 200
EOF
cat >"$GLIMMER_STAGE/$TRACES/bad.trace" <<'EOF'
FF FF 160 32 100
# fine so far
FF FF 160 32
EOF
good_trace="C:\\glimmer\\$TRACES\\good.trace"

start=$(date +%s%N)
played=$(gunsim_send play "\"$good_trace\"" 2) || fail "playing the good trace"
took_ms=$((($(date +%s%N) - start) / 1000000))
expect_eq "$played" 6 "reports played by two rounds"
((took_ms >= 1100)) || fail "six holds of 200 ms took only $took_ms ms"
expect_eq "$(gunsim_send status)" "plugged 1 state FF FF 671 223 reads 0 failed 0 readlen 6" "after the trace"
gunsim_send state FF FF 416 128 >/dev/null || fail "the idle state between the traces"
expect_eq "$(gunsim play "$good_trace")" 3 "reports played by one round from the command line"
expect_eq "$(gunsim_send status)" "plugged 1 state FF FF 671 223 reads 0 failed 0 readlen 6" \
  "after the trace from the command line"

if reply=$(gunsim_send play "\"C:\\glimmer\\$TRACES\\bad.trace\"" 2>&1); then fail "the bad trace played"; fi
[[ $reply == *"line 3"* ]] || fail "the refusal does not name line 3: $reply"
[[ $reply == *"$TRACES"* ]] || fail "the refusal does not name the file: $reply"

if reply=$(gunsim_send wait-reads 1 300 2>&1); then fail "wait-reads returned with nobody reading"; fi
[[ $reply == "err timed out"* ]] || fail "wait-reads: $reply"

# Device-change notices as the system sends them: to every top-level window,
# hidden ones included, answered before the broadcast returns.
probe=$GLIMMER_BUILD/tests/wine/notice_probe.exe
timeout 90 wine "$probe" 2 60 >"$TEST_OUT/probe.out" 2>"$TEST_OUT/probe.err" </dev/null &
probe_pid=$!
wait_for "grep -q ready \"\$TEST_OUT/probe.out\"" 60 || fail "the probe window did not come up"
gunsim_send devicechange >/dev/null || fail "devicechange"
grep -q "notice 0007" "$TEST_OUT/probe.out" || fail "the broadcast returned before the window had the notice"
gunsim_send devicechange arrival >/dev/null || fail "devicechange arrival"
wait_for "! kill -0 $probe_pid 2>/dev/null" 60 || fail "the probe did not get its two notices"
wait "$probe_pid" || fail "the probe ended with $? ($(tr '\n' ' ' <"$TEST_OUT/probe.out"))"
expect_eq "$(grep notice "$TEST_OUT/probe.out" | tr -d '\r' | tr '\n' ' ')" "notice 0007 notice 8000 " "notices received"

# Read stamps on the driver's own clock: every answered read, and every real
# change of the report with the first read that returned it.
wine_session_start LINK "$GLIMMER_BUILD/tests/wine/gun_link.exe"
poll() { [[ $(wine_session_ask LINK poll) == "poll 1 "* ]] || fail "a poll of the gun failed"; }
field() { sed -n "s/.* $1 \([^ ]*\).*/\1/p" <<<" $2"; }
expect_eq "$(wine_session_ask LINK open)" "open 1" "the reader opens the gun"
{ gunsim_send state FF FF 416 128 >/dev/null && gunsim_send readtimes reset >/dev/null; } || fail "readtimes reset"
expect_eq "$(gunsim_send readtimes)" \
  "reads 0 interval-median - interval-p99 - interval-max - over-90ms 0 changes 0 unread 0 delay-median - delay-max -" \
  "figures right after a reset"
start=$(date +%s%N)
{ gunsim_send state FF FF 416 128 >/dev/null && gunsim_send state FF FF 200 60 >/dev/null &&
  gunsim_send state FF FF 300 100 >/dev/null; } || fail "setting states"
poll
poll
gunsim_send sleep 300 >/dev/null || fail "sleep"
poll
took_ms=$((($(date +%s%N) - start) / 1000000))
figures=$(gunsim_send readtimes) || fail "readtimes"
expect_eq "$(field reads "$figures") $(field changes "$figures") $(field unread "$figures")" "3 2 1" \
  "reads, changes (the same report again is none) and changes replaced before a read, in: $figures"
awk "BEGIN{exit !($(field interval-max "$figures") >= 300 && $(field interval-max "$figures") <= $took_ms &&
  $(field delay-max "$figures") >= 0 && $(field delay-max "$figures") <= $took_ms)}" ||
  fail "a 300 ms pause between reads, all within $took_ms ms, is not what the stamps say: $figures"
list=$(gunsim_send readtimes list) || fail "readtimes list"
[[ $list =~ ^reads\ 0\.0\ [0-9.]+\ [0-9.]+\ changes\ -[0-9.]+\>-\ -[0-9.]+\>0\.0$ ]] ||
  fail "readtimes list, three reads and two changes before the first, one of them read by it: $list"
wine_session_stop LINK

gunsim_send state FF FF 416 128 >/dev/null || fail "restoring the idle state"
pass
