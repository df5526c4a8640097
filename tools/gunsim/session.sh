# shellcheck shell=bash
# Sourced (bash) after wine-env.sh: the display and prefix chores shared by
# up.sh, down.sh and the Wine tests. Everything here is bounded in time.

GUNSIM_RUN=$GLIMMER_BUILD/gunsim-run   # pid files and logs of the processes we start
GUNSIM_LOG=$GUNSIM_RUN/wine.log

gunsim_display_number() {
  local n=${DISPLAY#*:}
  n=${n%%.*}
  [[ $n =~ ^[0-9]+$ ]] && echo "$n"
}

gunsim_xvfb_pidfile() {
  echo "$GUNSIM_RUN/xvfb-$(gunsim_display_number).pid"
}

# The first display number from N up that no X server holds, for a private Xvfb.
gunsim_free_display() {
  local n=$1
  while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
  echo "$n"
}

# At the script's exit, however it comes: down.sh BUILD_DIR, its output to
# LOG; twice if need be, as a service still starting may outlive the first round.
gunsim_down_at_exit() {
  GUNSIM_DOWN=("$(dirname "${BASH_SOURCE[0]}")/down.sh" "$1" "$2")
  trap gunsim_down EXIT
  trap 'exit 130' INT TERM
}

gunsim_down() {
  trap - EXIT INT TERM
  local down=${GUNSIM_DOWN[0]} build=${GUNSIM_DOWN[1]} log=${GUNSIM_DOWN[2]}
  "$down" "$build" >>"$log" 2>&1 || "$down" "$build" >>"$log" 2>&1 ||
    echo "$(basename "$0"): some Wine process or Xvfb would not end (see $log)" >&2
}

# Polls CONDITION (a command) every 0.1 s for at most SECONDS.
gunsim_wait_until() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

gunsim_display_answers() {
  if command -v xdpyinfo >/dev/null; then
    timeout 5 xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
    return
  fi
  # Without x11-utils: a live server holds its lock file and socket.
  local n pid
  n=$(gunsim_display_number) || return 1
  [[ -S /tmp/.X11-unix/X$n && -r /tmp/.X$n-lock ]] || return 1
  pid=$(tr -d ' \n' <"/tmp/.X$n-lock")
  [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null
}

# Pids of this prefix's Wine processes (server, services, programs), found by
# their environment, so nothing of another prefix is ever touched.
gunsim_prefix_pids() {
  local dir pid cmd
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    [[ $pid == "$$" ]] && continue
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null || continue
    cmd=$(tr '\0' ' ' <"$dir/cmdline" 2>/dev/null) || continue
    [[ $cmd == */lib/wine/* || $cmd == [A-Za-z]:\\* || $cmd == *wineserver* ]] && echo "$pid"
  done
}

gunsim_prefix_idle() {
  [[ -z $(gunsim_prefix_pids) ]]
}

# Ends every process of the prefix: politely through wineserver, then by pid.
gunsim_stop_prefix() {
  [[ -d $WINEPREFIX ]] || return 0
  timeout 20 wineserver -k >/dev/null 2>&1 </dev/null || true
  gunsim_wait_until 20 gunsim_prefix_idle && return 0
  local pid
  for pid in $(gunsim_prefix_pids); do kill -KILL "$pid" 2>/dev/null || true; done
  gunsim_wait_until 10 gunsim_prefix_idle
}

# A persistent wineserver keeps the driver's service alive between programs; it
# forks away from us, so it must not hold our stdout/stderr.
gunsim_start_server() {
  mkdir -p "$GUNSIM_RUN"
  setsid wineserver -p >>"$GUNSIM_LOG" 2>&1 </dev/null
}

# One step of making a prefix: runs COMMAND, and says WHY when it fails.
gunsim_prefix_step() {
  local why=$1
  shift
  "$@" && return 0
  echo "making $WINEPREFIX: $why (see $GUNSIM_LOG)" >&2
  return 1
}

# A fresh prefix at $WINEPREFIX, its wineserver kept running; says what failed.
gunsim_make_prefix() {
  gunsim_prefix_step "processes of the old prefix would not end" gunsim_stop_prefix &&
    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX" &&
    gunsim_prefix_step "wineserver did not start" gunsim_start_server &&
    gunsim_prefix_step "wineboot failed" gunsim_wine_logged 300 wineboot -i &&
    # Without a window manager every hide waits for one; unmanaged windows do not.
    gunsim_prefix_step "setting Managed=N failed" \
      gunsim_wine_logged 60 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
    # The setting takes effect for processes started after a restart.
    gunsim_prefix_step "the new prefix would not stop for its restart" gunsim_stop_prefix &&
    gunsim_prefix_step "wineserver did not restart" gunsim_start_server
}

# Copies FILE... to C:\glimmer in the prefix, where Wine is handed them.
gunsim_stage() {
  mkdir -p "$GLIMMER_STAGE" && cp -f -- "$@" "$GLIMMER_STAGE/"
}

# Runs a Windows program of this prefix with its output in the log, bounded.
gunsim_wine_logged() {
  local seconds=$1
  shift
  timeout "$seconds" wine "$@" >>"$GUNSIM_LOG" 2>&1 </dev/null
}
