#!/usr/bin/env bash
# The start-up bench's own machinery: the probe starts Glimmerdot, the bare
# dialog and the bare dialog with the tray icon in rotating order, each shows
# its window and ends when closed, and every ratio it gives, of the medians
# and within each round, is what its own run lines give.
. "$GLIMMER_SOURCE/tests/wine/lib.sh"

# What Wine is handed lies under C:\glimmer, short wherever the build is.
gunsim_stage "$GLIMMER_BUILD/app/Glimmerdot.exe" "$GLIMMER_BUILD"/bench/win32/{startup_probe,bare_dialog,tray_dialog}.exe ||
  fail "copying the programs into $GLIMMER_STAGE"
rounds=2
timeout 240 wine 'C:\glimmer\startup_probe.exe' "$rounds" 'C:\glimmer\Glimmerdot.exe' \
  'C:\glimmer\bare_dialog.exe' 'C:\glimmer\tray_dialog.exe' \
  </dev/null >"$TEST_OUT/probe.raw" 2>&1 || fail "startup_probe failed: $(tr -d '\r' <"$TEST_OUT/probe.raw" | tail -3)"
tr -d '\r' <"$TEST_OUT/probe.raw" >"$TEST_OUT/probe.out"

expect_eq "$(grep '^run ' "$TEST_OUT/probe.out" | cut -c1-5 | tr '\n' ' ')" \
  "run A run B run C run B run C run A " "the order of the starts"
# Ratios recomputed from the run lines: the medians' (of two, their mean), and
# each round's, whose smallest and largest the probe names. The run lines give
# tenths of a millisecond, so the last digit may differ.
checked=$(awk -v rounds=$rounds '
  function off(want, got) { return want - got > 0.002 || got - want > 0.002 }
  /^run / { split($3, f, "="); t[$2, ++n[$2]] = f[2]; order[++starts] = $2 }
  /^ratio A\// {
    other = substr($2, 3)
    for (i = 3; i <= NF; i++) { split($i, f, "="); got[f[1]] = f[2] }
    median_a = (t["A", 1] + t["A", 2]) / 2; median_o = (t[other, 1] + t[other, 2]) / 2
    min = 1e9; max = 0
    for (r = 1; r <= rounds; r++) { x = t["A", r] / t[other, r]; if (x < min) min = x; if (x > max) max = x }
    if (off(median_a / median_o, got["startup"])) print "A/" other " startup " got["startup"]
    if (off(min, got["rounds_min"]) || off(max, got["rounds_max"]))
      print "A/" other " rounds " got["rounds_min"] ".." got["rounds_max"]
    seen++
  }
  END { if (seen != 2) print "ratio lines: " seen }' "$TEST_OUT/probe.out")
expect_eq "$checked" "" "ratios that differ from the run lines"
pass
