#!/usr/bin/env bash
# The Wine tests from a checkout nobody would pick for a test:
#   tests/deep_clone.sh DISPLAY_NUMBER
# Clones the committed HEAD into build/deep-clone/, a folder at least 250
# characters deep whose name holds spaces, an apostrophe and a non-ASCII
# letter, so that the tests' working folder there is longer than a Windows
# path may be (260), builds the Windows programs there (GCC) and runs, on X
# display DISPLAY_NUMBER and in the clone's own prefix, the Wine tests that
# hand Wine programs, command lines, registry values and paths.
# Uncommitted changes are not in the clone.
# The clone stays for a look after a failure; the next run replaces it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[[ $# -eq 1 && $1 =~ ^[0-9]+$ ]] || { echo "usage: tests/deep_clone.sh DISPLAY_NUMBER" >&2; exit 2; }
display=$1
head=$(git -C "$root" rev-parse HEAD)

base=$root/build/deep-clone
deep="$base/Projets de l'équipe de José"
chars() { printf %s "$1" | LC_ALL=C.UTF-8 wc -m; }
while (($(chars "$deep") < 250)); do deep+="/un dossier de plus, écarté"; done
deep+=/glimmerdot
rm -rf "$base"
mkdir -p "$(dirname "$deep")"
git clone --quiet --no-checkout "$root" "$deep"
git -C "$deep" checkout --quiet --detach "$head"
echo "deep clone of ${head:0:12} at $(chars "$deep") characters: $deep"

build=$deep/build/win32
log=$base/build.log
start=$SECONDS
{ cmake -S "$deep" -B "$build" --toolchain "$deep/cmake/toolchain-mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DGLIMMER_WERROR=ON -DGLIMMER_DISPLAY="$display" &&
  cmake --build "$build" -j2 --target Glimmerdot GunTest inspector gunsimctl gun_link notice_probe \
    framework_test msi; } >"$log" 2>&1 || { tail -n 30 "$log" >&2; echo "deep_clone.sh: the build failed (see $log)" >&2; exit 1; }
echo "built in $((SECONDS - start)) s"

# Every kind of thing a test hands Wine: the simulated gun's control program
# and traces, the inspector and its hook, the programs, a URL handler's
# command line, an MSI, a test program in a prefix of its own.
ctest --test-dir "$build" --output-on-failure \
  -R '^(framework_dialogs|gun_link|gunsim_ctl|tray_and_link|guntest|msi_install)$'
