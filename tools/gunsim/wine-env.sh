# shellcheck shell=bash
# Sourced (bash) by the simulated gun's scripts and the Wine tests, so every
# Wine process of a run sees the same prefix, display and settings.
#   GLIMMER_BUILD     the Windows build folder (default: build/win32 of this checkout)
#   WINEPREFIX        default: $GLIMMER_BUILD/wineprefix
#   DISPLAY           default: :$GLIMMER_DISPLAY, itself 93 by default
#   GLIMMER_WINEDEBUG Wine's debug channels (default: -all)

GLIMMER_SOURCE=${GLIMMER_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
GLIMMER_BUILD=${GLIMMER_BUILD:-$GLIMMER_SOURCE/build/win32}
export GLIMMER_SOURCE GLIMMER_BUILD

# The driver loads only in a 32-bit prefix.
export WINEARCH=win32
# No Mono or Gecko installers and no desktop menu entries while a prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEDEBUG=${GLIMMER_WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$GLIMMER_BUILD/wineprefix}
export DISPLAY=${DISPLAY:-:${GLIMMER_DISPLAY:-93}}
# Every Wine start goes from the prefix, however deep the caller stands
# (from-prefix/wine says why).
case ":$PATH:" in
*":$GLIMMER_SOURCE/tools/gunsim/from-prefix:"*) ;;
*) export PATH="$GLIMMER_SOURCE/tools/gunsim/from-prefix:$PATH" ;;
esac

# Programs and files handed to Wine are copied under C:\glimmer in the prefix
# (session.sh's gunsim_stage): a command line or registry value made of paths
# in the checkout grows with the checkout's depth, and past some length Wine's
# shell no longer starts it. up.sh puts gunsimctl and the driver there.
# shellcheck disable=SC2034 # for the scripts that source this file
GLIMMER_STAGE=$WINEPREFIX/drive_c/glimmer
# shellcheck disable=SC2034 # for the scripts that source this file
GUNSIMCTL='C:\glimmer\gunsimctl.exe'
