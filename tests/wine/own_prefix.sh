# shellcheck shell=bash
# Sourced as `. own_prefix.sh NAME` by a test that runs in a fresh prefix of
# its own, $GLIMMER_BUILD/NAME-prefix, so that nothing it does reaches the
# other tests: makes the prefix, gives the helpers of the tests of the shipped
# program (glimmerdot.sh) and ends the prefix's processes at exit.
export WINEPREFIX=$GLIMMER_BUILD/$1-prefix
. "$GLIMMER_SOURCE/tools/gunsim/wine-env.sh"
. "$GLIMMER_SOURCE/tools/gunsim/session.sh"
gunsim_make_prefix || { echo "FAIL: $(basename "$0" .sh): no fresh prefix" >&2; exit 1; }
. "$GLIMMER_SOURCE/tests/wine/glimmerdot.sh"
trap 'app_cleanup; gunsim_stop_prefix' EXIT
