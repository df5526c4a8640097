#!/usr/bin/env bash
# One line to a running simulated gun:  tools/gunsim/up.sh BUILD_DIR
# Starts Xvfb on $DISPLAY unless a server answers there, makes a fresh 32-bit
# prefix, installs and starts the gun's driver and leaves the gun plugged in,
# idle, aiming at the middle of its window. down.sh undoes it. Settings come
# from wine-env.sh; GLIMMER_SCREEN sets Xvfb's screen (default 1280x1024x24).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[[ $# -eq 1 && -d $1 ]] || { echo "usage: up.sh BUILD_DIR (the Windows build folder)" >&2; exit 2; }
GLIMMER_BUILD=$(cd "$1" && pwd)
. "$here/wine-env.sh"
. "$here/session.sh"

fail() { echo "up.sh: $*" >&2; exit 1; }
gunsim_built=("$GLIMMER_BUILD/tools/gunsim/gunsimctl.exe" "$GLIMMER_BUILD/tools/gunsim/gunsim.sys")
[[ -f ${gunsim_built[0]} && -f ${gunsim_built[1]} ]] ||
  fail "build the simulated gun first (no ${gunsim_built[0]} or gunsim.sys)"
# Where the kernel runs 64-bit code only, 32-bit Wine needs an i386 binfmt emulator.
wine --version >/dev/null 2>&1 </dev/null ||
  fail "wine does not start here: $(wine --version 2>&1 </dev/null | tail -n 1)"
mkdir -p "$GUNSIM_RUN"
: >"$GUNSIM_LOG"

elapsed() { printf '%d.%d s' $((($(date +%s%N) - $1) / 1000000000)) $(((($(date +%s%N) - $1) / 100000000) % 10)); }

start_display() {
  if gunsim_display_answers; then
    display_note="$DISPLAY (already running)"
    return
  fi
  local n pidfile
  n=$(gunsim_display_number) || fail "no display answers at DISPLAY=$DISPLAY and it is not a local :N to start Xvfb on"
  pidfile=$(gunsim_xvfb_pidfile)
  # A server that was killed leaves its lock behind and blocks the number.
  if [[ -r /tmp/.X$n-lock ]] && ! kill -0 "$(tr -d ' \n' <"/tmp/.X$n-lock")" 2>/dev/null; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  fi
  setsid Xvfb ":$n" -screen 0 "${GLIMMER_SCREEN:-1280x1024x24}" -nolisten tcp \
    >"$GUNSIM_RUN/xvfb-$n.log" 2>&1 </dev/null &
  gunsim_wait_until 15 gunsim_display_answers || fail "Xvfb did not come up on :$n (see $GUNSIM_RUN/xvfb-$n.log)"
  # The lock file names the server itself, whatever setsid did with the pid.
  tr -d ' \n' <"/tmp/.X$n-lock" >"$pidfile"
  display_note="$DISPLAY (Xvfb started)"
}

start_gun() {
  # Files, not pipes: a service that Wine starts on the way inherits these
  # handles and would hold a pipe open long after gunsimctl ended. The broadcast
  # brings up the desktop process now, while its output goes to a file too.
  local out=$GUNSIM_RUN/up.out
  printf 'install\nstate FF FF 416 128\ndevicechange\nstatus\n' >"$GUNSIM_RUN/up.cmd"
  timeout 120 wine "$GUNSIMCTL" batch <"$GUNSIM_RUN/up.cmd" >"$out" 2>>"$GUNSIM_LOG" ||
    fail "gunsimctl did not finish (see $GUNSIM_LOG)"
  if grep -q '^err' "$out" || [[ $(grep -c '^ok' "$out") -ne 4 ]]; then
    fail "installing the simulated gun failed: $(tr '\n' ' ' <"$out")"
  fi
  gun_status=$(tail -n 1 "$out")
}

t=$(date +%s%N)
start_display
display_time=$(elapsed "$t")
t=$(date +%s%N)
gunsim_make_prefix || fail "no fresh prefix at $WINEPREFIX"
gunsim_stage "${gunsim_built[@]}" || fail "copying the simulated gun into $GLIMMER_STAGE"
prefix_time=$(elapsed "$t")
t=$(date +%s%N)
start_gun
gun_time=$(elapsed "$t")

echo "display $display_note in $display_time"
echo "prefix $WINEPREFIX made in $prefix_time"
echo "simulated gun up in $gun_time: ${gun_status#ok }"
