#!/usr/bin/env bash
# Undoes up.sh:  tools/gunsim/down.sh BUILD_DIR
# Ends every process of the prefix and the Xvfb that up.sh started (a display
# it found running is left alone). Safe to run twice, or without up.sh.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[[ $# -eq 1 && -d $1 ]] || { echo "usage: down.sh BUILD_DIR (the Windows build folder)" >&2; exit 2; }
GLIMMER_BUILD=$(cd "$1" && pwd)
. "$here/wine-env.sh"
. "$here/session.sh"

status=0
if ! gunsim_stop_prefix; then
  echo "down.sh: processes of $WINEPREFIX would not end: $(gunsim_prefix_pids | tr '\n' ' ')" >&2
  status=1
fi

# A zombie still answers kill -0 until its parent reaps it.
# shellcheck disable=SC2317 # called by name through gunsim_wait_until
xvfb_gone() { ! kill -0 "$1" 2>/dev/null || [[ $(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) == Z ]]; }

pidfile=$(gunsim_xvfb_pidfile 2>/dev/null) || pidfile=
if [[ -n $pidfile && -f $pidfile ]]; then
  pid=$(cat "$pidfile")
  # Only the server we recorded, and only while it still is an X server.
  if [[ $pid =~ ^[0-9]+$ ]] && grep -qa 'Xvfb' "/proc/$pid/cmdline" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null
    if ! gunsim_wait_until 10 xvfb_gone "$pid"; then
      kill -KILL "$pid" 2>/dev/null
      gunsim_wait_until 5 xvfb_gone "$pid" || { echo "down.sh: Xvfb $pid would not end" >&2; status=1; }
    fi
  fi
  rm -f "$pidfile"
fi
exit $status
