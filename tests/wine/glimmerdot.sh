# shellcheck shell=bash
# Sourced by the tests of the shipped program (after lib.sh's environment):
# starts Glimmerdot.exe, drives and reads it through one long-lived inspector,
# seeds and reads its registry settings, records mouse buttons, screenshots.
#   app_start [PROGRAM ARGS]     start (Glimmerdot.exe unless told) and wait for the window
#   app_ended                    wait for the end, checked
#   guntest_start / tested LINE  Gun Test started and its window up / one inspector line on it
#   tested_may LINE              the same, but returns 1 on err instead of failing
#   expect_text ID TEXT WHAT     wait until Gun Test's control ID reads TEXT
#   control_text CALL ID         control ID's text, read through CALL (tested, or another such)
#   inspect LINE                 one inspector line; prints its value, fails on err
#   inspect_may LINE             the same, but returns 1 on err instead of failing
#   field TEXT KEY               the value of KEY=... in an inspector line
#   unquoted TEXT                an inspector line's quoted value as it reads
#   name_hex TEXT SIZE           TEXT as a stored name field of SIZE bytes, in hex
#   expect_handles_back LINE WHAT   the handles drop back to LINE's count, bounded
#   settings_seed HEX8 [SPEED]   LumipointKey (bytes as 8 hex digits, in order)
#   settings_clear / settings_block   delete the key / print its bytes as hex
#   play_set HEX / play_delete   store the "Play" value (its bytes as hex) / remove it
#   record_start MS [moves] / record_stop   a background mouse button (and move) recording
#   screenshot FILE              the program's window as PNG
#   gun ARGS / gun_value ARGS    one command to the simulated gun (gunsim_batch_start first)
#   let_reads_pass N             wait until the gun has answered N more reads
#   screen_point RX RY / aim RX RY   where raw RX,RY puts the cursor on a
#                                SCREEN_W x SCREEN_H screen (through AIM_WINDOW
#                                if set) / aim there and wait for it
#   desktop_start NAME WxH       the program and the inspector in a virtual desktop
#   windows_copy FILE            FILE copied to C:\glimmer; prints its path there
#   scale_set DPI                Wine's display scale (LogPixels) for programs started after
. "$GLIMMER_SOURCE/tests/wine/lib.sh"

APP_EXE=$GLIMMER_BUILD/app/Glimmerdot.exe
# Kept when the test set it before (msi_install.sh: empty when Gun Test does not ship).
GUNTEST_EXE=${GUNTEST_EXE-$GLIMMER_BUILD/guntest/GunTest.exe}
SETTINGS_KEY='HKLM\SOFTWARE\VEY\Lumipoint'
# They run from C:\glimmer, so that what Wine is handed is short wherever the
# build lies.
for built in "$GLIMMER_BUILD"/tests/inspector/inspector{.exe,_hook.dll} "$APP_EXE"; do
  [[ -f $built ]] || fail "no $built"
  gunsim_stage "$built" || fail "copying $built into $GLIMMER_STAGE"
done
[[ ! -f $GUNTEST_EXE ]] || gunsim_stage "$GUNTEST_EXE" || fail "copying $GUNTEST_EXE into $GLIMMER_STAGE"
INSPECTOR='C:\glimmer\inspector.exe'
APP_STAGED='C:\glimmer\Glimmerdot.exe'
GUNTEST_STAGED='C:\glimmer\GunTest.exe'

APP_PID=
RECORD_PID=
GUNTEST_PID=

windows_copy() {
  gunsim_stage "$1" || fail "copying $1 into $GLIMMER_STAGE"
  echo "C:\\glimmer\\${1##*/}"
}

inspect_may() {
  local reply
  reply=$(wine_session_ask INSPECT "$*") || exit 1
  reply=${reply%$'\r'}
  case $reply in
  ok) return 0 ;;
  "ok "*) echo "${reply#ok }" ;;
  *) echo "${reply#err }" >&2; return 1 ;;
  esac
}

inspect() {
  local value
  value=$(inspect_may "$@" 2>"$TEST_OUT/inspect.err") || fail "inspector '$*': $(cat "$TEST_OUT/inspect.err")"
  [[ -z $value ]] || echo "$value"
}

field() {
  local match
  match=$(grep -o -E " $2=(\"([^\"\\]|\\\\.)*\"|[^ ]*)" <<<" $1" | head -n 1) || return 1
  echo "${match#* "$2"=}"
}

# The program in the background, its output in a file; returns once its
# window shows, leaving its Windows process id in APP_PID.
app_start() {
  (($#)) || set -- "$APP_STAGED"
  wine "$@" </dev/null >>"$TEST_OUT/app.log" 2>&1 &
  local window
  # Up means shown, in front, with the focus on Start and the dialog's loop
  # idle: it shows the window once more the first time it goes idle, which
  # would undo a minimise that came before.
  window=$(inspect --timeout 90000 wait visible 1 90000 + wait foreground 1 30000 + wait focus 1005 30000 + \
    waitidle 30000 + window) || exit 1
  APP_PID=$(field "$window" pid)
}

# After an action that ends the program (given as an inspector line run on
# the same window, so the process is held before it can go): the process ends
# and no window of it or tray icon of it stays.
app_ended() {
  inspect "$* + waitexit 30000" >/dev/null
  local left
  left=$(inspect --pid "$APP_PID" windows)
  expect_eq "$(field "${left##*| }" count)" 0 "windows left behind after '$*'"
  inspect tray wait 0 30000 >/dev/null
  APP_PID=
}

# expect_handles_back BEFORE WHAT [OPTIONS]: the process (the program's, or
# the one OPTIONS name) comes back, within a bound, to no more handles than
# BEFORE, an inspector "handles" line; what a moment's work held goes back, what
# stays is a leak, and the failure names the kinds of both.
expect_handles_back() {
  local before=$1 what=$2 now
  shift 2
  local deadline=$((SECONDS + 30))
  while now=$(inspect "$@" handles) && (($(field "$now" count) > $(field "$before" count))); do
    ((SECONDS < deadline)) ||
      fail "$what: handles grew from $(field "$before" count) to $(field "$now" count) and stayed" \
        "(before $(field "$before" kinds); after $(field "$now" kinds))"
    sleep 0.1
  done
}

# Gun Test in the background; returns once its window shows and its loop
# idles, leaving the window's inspector line in GUNTEST_WINDOW.
guntest_start() {
  [[ -f $GUNTEST_EXE ]] || fail "no $GUNTEST_EXE"
  wine "$GUNTEST_STAGED" </dev/null >>"$TEST_OUT/guntest.log" 2>&1 &
  GUNTEST_WINDOW=$(tested --timeout 90000 wait visible 1 90000 + waitidle 30000 + window) || exit 1
  GUNTEST_PID=$(field "$GUNTEST_WINDOW" pid)
}

tested() {
  inspect --caption '"Glimmerdot Gun Test"' "$@"
}

tested_may() {
  inspect_may --caption '"Glimmerdot Gun Test"' "$@"
}

expect_text() {
  tested_may wait text "$1" "\"$2\"" 20000 >/dev/null 2>"$TEST_OUT/inspect.err" ||
    fail "$3: expected '$2', $(cat "$TEST_OUT/inspect.err")"
}

unquoted() {
  local text=${1:1:-1}
  text=${text//\\\"/\"}
  echo "${text//\\\\/\\}"
}

control_text() {
  unquoted "$(field "$("$1" text "$2")" text)"
}

name_hex() {
  local hex
  hex=$(printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n')
  printf '%s%s' "$hex" "$(printf '%0*d' $(($2 * 2 - ${#hex})) 0)"
}

settings_clear() {
  wine_run 60 reg delete 'HKLM\SOFTWARE\VEY' /f >/dev/null 2>&1 || true
}

# HEX8: the four bytes left, middle, right, zero in memory order ("03020400").
settings_seed() {
  local bytes=$1 speed=${2:-}
  local number=$((16#${bytes:6:2}${bytes:4:2}${bytes:2:2}${bytes:0:2}))
  wine_run 60 reg add "$SETTINGS_KEY" /v LumipointKey /t REG_DWORD /d "$number" /f >/dev/null ||
    fail "seeding LumipointKey"
  if [[ -n $speed ]]; then
    wine_run 60 reg add "$SETTINGS_KEY" /v Speed /t REG_DWORD /d "$speed" /f >/dev/null || fail "seeding Speed"
  fi
}

play_set() {
  wine_run 60 reg add "$SETTINGS_KEY" /v Play /t REG_BINARY /d "$1" /f >/dev/null || fail "writing Play $1"
}

play_delete() {
  wine_run 60 reg delete "$SETTINGS_KEY" /v Play /f >/dev/null 2>&1 || true
}

# Prints the named DWORD value as Wine's reg shows it (0x...), or nothing.
settings_value() {
  wine_run 60 reg query "$SETTINGS_KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name { print $3 }'
}

# LumipointKey's bytes in memory order, as 8 hex digits.
settings_block() {
  local value
  value=$(settings_value LumipointKey)
  [[ -n $value ]] || return 1
  printf -v value %08x "$value"
  echo "${value:6:2}${value:4:2}${value:2:2}${value:0:2}"
}

# Every mouse button event for up to MS ms, into $TEST_OUT/record.txt (with
# "moves" after MS, every move too).
record_start() {
  local file=$TEST_OUT/record.txt
  : >"$file"
  wine "$INSPECTOR" record "$@" </dev/null >"$file" 2>>"$TEST_OUT/record.err" &
  RECORD_PID=$!
  wait_for "grep -q '^ready' \"\$file\"" 60 || fail "the mouse recording did not start"
}

# Its lines are written as they come, so it can simply be ended.
record_stop() {
  [[ -n $RECORD_PID ]] || return 0
  kill "$RECORD_PID" 2>/dev/null
  wait "$RECORD_PID" 2>/dev/null
  RECORD_PID=
}

# Events recorded so far, "name x y" per line, optionally only NAME.
recorded() {
  awk -v want="${1:-}" '{ sub(/\r$/, "") } $1 == "event" {
    for (i = 2; i <= NF; i++) { split($i, kv, "="); f[kv[1]] = kv[2] }
    if (want == "" || f["name"] == want) print f["name"], f["x"], f["y"], f["t"], f["tick"]
  }' "$TEST_OUT/record.txt"
}

recorded_count() {
  recorded "$1" | wc -l
}

# The window's screen rectangle cut from the whole display.
screenshot() {
  local window rect l t r b
  window=$(inspect window)
  rect=$(field "$window" rect)
  IFS=, read -r l t r b <<<"$rect"
  import -display "$DISPLAY" -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$1" ||
    fail "screenshot to $1"
}

gun() {
  gunsim_send "$@" >/dev/null || fail "gunsimctl $*"
}

gun_value() {
  gunsim_send "$@" || fail "gunsimctl $*"
}

# N more reads, so whatever they bring has reached the program.
let_reads_pass() {
  local reads
  reads=$(gun_value reads)
  gun wait-reads $((reads + $1)) 20000
}

# Cursor position for a raw gun position on this screen, as the emulator scales it;
# with AIM_WINDOW ("LEFT RIGHT TOP BOTTOM") set, through that calibrated window.
screen_point() {
  awk -v rx="$1" -v ry="$2" -v w="$SCREEN_W" -v h="$SCREEN_H" -v window="${AIM_WINDOW:-}" 'BEGIN {
    if (window == "") { x = int((rx - 160) * (w * 0.001953125)); y = int((ry - 32) * (h * 0.0052083335)) }
    else { split(window, c, " "); x = int((rx - c[1]) * w / (c[2] - c[1])); y = int((ry - c[3]) * h / (c[4] - c[3])) }
    if (x < 0) x = 0; if (y < 0) y = 0; if (x > w - 4) x = w - 4; if (y > h - 4) y = h - 4
    print x, y }'
}

aim() {
  gun state FF FF "$1" "$2"
  local point
  point=$(screen_point "$1" "$2")
  # shellcheck disable=SC2086 # the point is two words, X and Y
  inspect wait cursor $point 20000 >/dev/null || fail "cursor for raw $1,$2 is not at $point"
}

# On bare Xvfb the display mode cannot change; in a Wine virtual desktop it
# can. The program and the inspector are sent there through the prefix's
# per-program settings (other programs, gunsimctl among them, stay where they
# are); app_cleanup takes the settings out again for the tests after this one.
APP_DESKTOP=
APP_DESKTOP_KEYS=('HKCU\Software\Wine\AppDefaults\Glimmerdot.exe'
                  'HKCU\Software\Wine\AppDefaults\GunTest.exe'
                  'HKCU\Software\Wine\AppDefaults\inspector.exe')
desktop_start() {
  local name=$1 size=$2 key
  APP_DESKTOP=$name
  wine_session_stop INSPECT
  for key in "${APP_DESKTOP_KEYS[@]}"; do
    wine_run 60 reg add "$key\Explorer" /v Desktop /d "$name" /f >/dev/null || fail "setting $key\Explorer"
  done
  wine_run 60 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$name" /d "$size" /f >/dev/null ||
    fail "setting the size of desktop $name"
  wine_session_start INSPECT "$INSPECTOR" --timeout 20000 batch
  # The inspector's first look at the screen makes the desktop; the program
  # starts only once its X window is there, or the two could each make one.
  inspect display >/dev/null
  wait_for "xwininfo -root -children | grep -qF '\"$name - Wine desktop\"'" 60 ||
    fail "no X window of the virtual desktop $name"
}

desktop_stop() {
  [[ -n $APP_DESKTOP ]] || return 0
  local key
  for key in "${APP_DESKTOP_KEYS[@]}"; do
    wine_run 60 reg delete "$key" /f >/dev/null 2>&1
  done
  wine_run 60 reg delete 'HKCU\Software\Wine\Explorer\Desktops' /v "$APP_DESKTOP" /f >/dev/null 2>&1
  APP_DESKTOP=
}

# Each program reads Wine's scale as it starts; app_cleanup puts back the
# prefix's own (96 for the machine, none for the user) for the tests after this one.
APP_SCALED=
APP_SCALE_KEYS=('HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts')
scale_set() {
  APP_SCALED=yes
  local key
  for key in "${APP_SCALE_KEYS[@]}"; do
    wine_run 60 reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null || fail "setting LogPixels $1 in $key"
  done
}

scale_stop() {
  [[ -n $APP_SCALED ]] || return 0
  scale_set 96
  wine_run 60 reg delete "${APP_SCALE_KEYS[0]}" /v LogPixels /f >/dev/null 2>&1
  APP_SCALED=
}

# Whatever happened, the next test finds the gun plugged in, answering whole
# reports and idle at 416,128.
app_cleanup() {
  local status=$?
  ((status == 0)) || keep_evidence
  local pid command
  for pid in $APP_PID $GUNTEST_PID; do
    inspect_may --pid "$pid" terminate >/dev/null 2>&1 || true
  done
  if [[ -n ${GUNSIM_IN:-} ]]; then
    for command in "readlen 6" "readerror off" "refuse off" plug "state FF FF 416 128"; do
      (gunsim_send "$command") >/dev/null 2>&1
    done
  fi
  record_stop
  wine_sessions_stop
  desktop_stop
  scale_stop
  return $status
}

wine_session_start INSPECT "$INSPECTOR" --timeout 20000 batch
trap app_cleanup EXIT
