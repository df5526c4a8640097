#!/usr/bin/env bash
# The control panel as laid out, its settings through Wine's registry, and
# every way of closing it: Cancel, Esc, the close box and an IDOK command each
# end the process and leave no window or tray icon behind.
. "$GLIMMER_SOURCE/tests/wine/glimmerdot.sh"

WS_VSCROLL=0x00200000

# INDEX ID CLASS STYLE VISIBLE ENABLED DU: one child, in tab order.
expect_control() {
  local line
  line=$(grep " index=$1 " <<<"$CONTROLS") || fail "no control at index $1"
  local what="control $1 ($2)"
  expect_eq "$(field "$line" id)" "$2" "$what: id"
  expect_eq "$(field "$line" class | tr -d '"' | tr '[:upper:]' '[:lower:]')" "$(tr '[:upper:]' '[:lower:]' <<<"$3")" "$what: class"
  local style=$(($(field "$line" style)))
  # The extended combo box keeps WS_VSCROLL for its drop-down, not its own window.
  [[ $3 == ComboBoxEx32 ]] && style=$((style | WS_VSCROLL))
  expect_eq "$(printf 0x%08X $style)" "$4" "$what: style"
  expect_eq "$(field "$line" visible)" "$5" "$what: visible"
  expect_eq "$(field "$line" enabled)" "$6" "$what: enabled"
  # Fewer numbers than four: a list's window is only its closed height, and a
  # bitmap takes its bitmap's size.
  local parts=${7//[^,]/}
  expect_eq "$(field "$line" du | cut -d, -f1-$((${#parts} + 1)))" "$7" "$what: position in dialog units"
}

# ---- No settings yet: the key path is made, every list shows its empty item.
settings_clear
app_start
wine_run 60 reg query "$SETTINGS_KEY" >/dev/null 2>&1 || fail "the settings key was not created at start-up"
[[ -z $(settings_value LumipointKey) ]] || fail "a fresh start wrote LumipointKey"

window=$(inspect window)
expect_eq "$(field "$window" text)" '"VEY Glimmerdot V1.0"' "caption"
expect_eq "$(field "$window" class)" '"#32770"' "window class"
style=$(($(field "$window" style)))
(((style & 0x80CA00C0) == 0x80CA00C0)) || fail "window style $(field "$window" style) lacks popup, caption, system menu, minimise box, modal frame or set font"
(((style & 0x00050000) == 0)) || fail "window style $(field "$window" style) has a sizing frame or maximise box"
((($(field "$window" exstyle) & 0x00040000) != 0)) || fail "window has no WS_EX_APPWINDOW"
expect_eq "$(field "$window" clientdu)" "297,125" "client area in dialog units"
IFS=, read -r l t r b <<<"$(field "$window" rect)"
IFS=, read -r sw sh <<<"$(field "$window" screen)"
dx=$(((l + r) - sw)) dy=$(((t + b) - sh))
((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)) || fail "window $l,$t,$r,$b is not centred on the ${sw}x$sh screen"

CONTROLS=$(inspect controls | tr '|' '\n' | sed 's/^ //; s/ $//')
expect_eq "$(grep -c ' index=' <<<"$CONTROLS")" 13 "number of controls"
expect_control 0 1005 Button 0x50010001 1 1 129,96,50,14
expect_control 1 2 Button 0x50010000 1 1 63,96,50,14
expect_control 2 -1 Button 0x40000007 0 1 7,7,148,47
expect_control 3 -1 Button 0x50000007 1 1 7,7,194,76
expect_control 4 1003 msctls_trackbar32 0x40010018 0 1 12,23,138,15
expect_control 5 -1 Static 0x50020000 1 1 13,23,60,12
expect_control 6 -1 Static 0x50020000 1 1 13,43,60,12
expect_control 7 -1 Static 0x50020000 1 1 13,63,57,12
expect_control 8 1006 ComboBoxEx32 0x50210103 1 1 90,21,107
expect_control 9 1007 ComboBoxEx32 0x50210103 1 1 90,41,107
expect_control 10 1008 ComboBoxEx32 0x50210103 1 1 90,59,107
expect_control 11 1009 Static 0x5000000E 1 1 203,27
expect_control 12 1004 Button 0x58010000 1 0 193,96,50,14
declare -A TEXTS=([0]='"Start"' [1]='"Cancel"' [2]='"Speed"' [3]='"Button"' [4]='"Slider1"'
  [5]='"Left Button"' [6]='"Middle Button"' [7]='"Right Button"' [12]='"Stop"')
for index in "${!TEXTS[@]}"; do
  line=$(grep " index=$index " <<<"$CONTROLS")
  expect_eq "${line#* text=}" "${TEXTS[$index]}" "text of control $index"
done
logo=$(grep " index=11 " <<<"$CONTROLS")
IFS=, read -r l t r b <<<"$(field "$logo" px)"
expect_eq "$((r - l))x$((b - t))" "122x60" "logo size (its bitmap's)"

for list in 1006 1007 1008; do
  expect_eq "$(inspect combo $list)" \
    'combo id='$list' count=7 sel=0 text="" | item index=0 text="" | item index=1 text="Start" | item index=2 text="Select" | item index=3 text="A" | item index=4 text="B" | item index=5 text="C" | item index=6 text="D"' \
    "list $list with no settings"
done
expect_eq "$(inspect slider 1003)" "slider id=1003 pos=2 min=2 max=120" "hidden slider, speed 0"

# Focus on Start; Tab walks the lists and skips the disabled Stop.
expect_eq "$(field "$(inspect focus)" id)" 1005 "initial focus"
for next in 2 1006 1007 1008 1005; do
  inspect key tab + wait focus $next 20000 >/dev/null
done

app_ended click 2

# ---- Saved settings come back: 03 02 04 00 is "A", "Select", "B"; speed 300 is 44.
settings_seed 03020400 300
app_start
expect_eq "$(inspect combo 1006 | cut -d'|' -f1)" 'combo id=1006 count=7 sel=3 text="A" ' "left list"
expect_eq "$(inspect combo 1007 | cut -d'|' -f1)" 'combo id=1007 count=7 sel=2 text="Select" ' "middle list"
expect_eq "$(inspect combo 1008 | cut -d'|' -f1)" 'combo id=1008 count=7 sel=4 text="B" ' "right list"
expect_eq "$(field "$(inspect slider 1003)" pos)" 44 "slider from Speed 300"
screenshot "$GLIMMER_BUILD/glimmerdot-window.png"
cp "$GLIMMER_BUILD/glimmerdot-window.png" "$TEST_OUT/"
app_ended key esc

# ---- An assignment above 6 leaves its list without a selection.
settings_seed 03000700
app_start
expect_eq "$(field "$(inspect combo 1006)" sel)" 3 "left list, 3"
expect_eq "$(field "$(inspect combo 1007)" sel)" 0 "middle list, 0"
expect_eq "$(field "$(inspect combo 1008)" sel)" -1 "right list, 7"
app_ended close

app_start
app_ended ok

pass "layout, settings and four ways out"
