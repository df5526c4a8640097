#!/bin/sh
# Runs one Windows test program under Wine and exits with its exit code.
# The prefix is made once and kept; it draws nothing, so no X display is needed.
set -eu
exe=$1
prefix=$2

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
unset DISPLAY WAYLAND_DISPLAY
# Wine starts in the Windows folder of its working folder and complains on
# stderr when that is too deep: make the prefix from /, run from C:\glimmer.
cd /

log=$(mktemp)
# No Wine process may keep the caller's output pipe open.
trap 'wineserver -k >/dev/null 2>&1 </dev/null || true; rm -f "$log"' EXIT

if [ ! -f "$prefix/.null-display" ]; then
  wineboot -i >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$prefix/.null-display"
fi

# Run from C:\glimmer: what Wine is handed stays short wherever the build lies.
mkdir -p "$prefix/drive_c/glimmer"
cp -f "$exe" "$prefix/drive_c/glimmer/"
cd "$prefix/drive_c/glimmer"
status=0
wine "C:\\glimmer\\${exe##*/}" >"$log" 2>&1 </dev/null || status=$?
cat "$log"
exit "$status"
