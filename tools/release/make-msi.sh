#!/usr/bin/env bash
# The installer, the same bytes from the same inputs:
#   make-msi.sh --source DIR --publisher NAME --version V --epoch SECONDS --program EXE... OUT.msi
# DIR is the source tree (packaging/glimmerdot.wxs, README.md for the guide,
# LICENSE, shipped as LICENSE.txt, the icon); each --program is an exe that
# ships. wixl stamps its output with the clock and random codes: here every
# file it packs carries EPOCH as its time, the product code and the package
# code are derived from the version and the payload, and the summary's times
# are set to EPOCH afterwards.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fail() { echo "make-msi.sh: $*" >&2; exit 1; }

. "$here/options.sh"
release_options "$@" || fail "usage: make-msi.sh --source DIR --publisher NAME --version V --epoch SECONDS --program EXE... OUT.msi"
wxs=$source/packaging/glimmerdot.wxs
# Windows Installer's limits on the three fields it compares (the fourth, which
# it ignores, is 16 bits as in the exe's version block); the third stays below
# its limit so that the next one, the upgrade rows' bound, exists.
fields='^([0-9]{1,5})\.([0-9]{1,5})\.([0-9]{1,5})(\.([0-9]{1,5}))?$'
if ! [[ $version =~ $fields ]] || ((10#${BASH_REMATCH[1]} > 255 || 10#${BASH_REMATCH[2]} > 255 ||
  10#${BASH_REMATCH[3]} >= 65535 || 10#${BASH_REMATCH[5]:-0} > 65535)); then
  fail "version $version: Windows Installer takes MAJOR.MINOR.BUILD[.REVISION] up to 255.255.65534.65535"
fi
next_version=$((10#${BASH_REMATCH[1]})).$((10#${BASH_REMATCH[2]})).$((10#${BASH_REMATCH[3]} + 1))

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source/res/glimmerdot.ico" "${programs[@]}" "$work/"
cp "$source/LICENSE" "$work/LICENSE.txt"
python3 "$here/guide.py" "$source/README.md" "$work/Glimmerdot Guide.txt"
touch -d "@$epoch" "$work"/*

defines=(-D Version="$version" -D NextVersion="$next_version" -D Publisher="$publisher")
for program in "${programs[@]}"; do
  if [[ ${program##*/} == GunTest.exe ]]; then defines+=(-D GunTest=1); fi
done

# Name-based GUIDs in the namespace of the product's UpgradeCode.
upgrade_code=$(grep -o 'UpgradeCode="[^"]*"' "$wxs" | cut -d'"' -f2)
guid() {
  python3 -c 'import sys, uuid; print("{%s}" % str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    "$upgrade_code" "$1"
}
# A package that differs in anything is another product, which the upgrade
# rows replace: Windows refuses a second package under an installed product code.
payload=$(cd "$work" && sha256sum -- * "$wxs" | cut -d' ' -f1 | sha256sum | cut -d' ' -f1)
product_code=$(guid "product $version $payload")
package_code=$(guid "package $version $payload")

rm -f "$out"
# wixl takes source files only by paths relative to where it runs; it may
# report success without writing its output.
{ (cd "$work" && wixl -a x86 "${defines[@]}" -D ProductCode="$product_code" -o "$out" "$wxs") >"$work/wixl.log" 2>&1 &&
  [[ -s $out ]]; } || fail "wixl failed: $(cat "$work/wixl.log")"
python3 "$here/msi_summary.py" "$out" "$epoch" "$package_code" || { rm -f "$out"; exit 1; }

summary=$(TZ=UTC0 msiinfo suminfo "$out")
expected_time=$(TZ=UTC0 date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')
{ grep -qxF "Revision number (UUID): $package_code" <<<"$summary" &&
  grep -qxF "Created: $expected_time" <<<"$summary" && grep -qxF "Last saved: $expected_time" <<<"$summary"; } ||
  { rm -f "$out"; fail "the summary of $out did not take the package code and times: $summary"; }
