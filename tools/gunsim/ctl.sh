#!/usr/bin/env bash
# gunsimctl in the simulated gun's prefix:  tools/gunsim/ctl.sh BUILD_DIR COMMAND [ARGS]
# e.g. ctl.sh build/win32 state FB FF 400 120; ctl.sh build/win32 help
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[[ $# -ge 2 && -d $1 ]] || { echo "usage: ctl.sh BUILD_DIR COMMAND [ARGS] (ctl.sh BUILD_DIR help lists them)" >&2; exit 2; }
GLIMMER_BUILD=$(cd "$1" && pwd)
shift
. "$here/wine-env.sh"
exec wine "$GUNSIMCTL" "$@"
