#!/usr/bin/env bash
# The release as a user unpacks it:  package_zip.sh DIR VERSION SOURCE EXE... -- RELEASE_OPTIONS...
# The zip holds the shipped programs, the guide and LICENSE.txt (not the
# developers' README), the programs and the licence the same bytes as built or
# as in the source, the guide as check-guide.py wants it; SHA256SUMS checks the
# zip and the MSI; the MSI's tables keep the rules check-msi-tables.py checks, and
# a version Windows Installer cannot hold makes no MSI.
set -euo pipefail
dir=$1 version=$2 source=$3
shift 3
programs=()
while [[ $1 != -- ]]; do programs+=("$1"); shift; done
shift
guide="Glimmerdot Guide.txt"
fail() { echo "FAIL: package_zip: $*" >&2; exit 1; }

rm -rf "$dir"
env -u GLIMMER_SIGN_PKCS12 bash "$source/tools/release/release.sh" "$@" "$dir/release" >"$dir.log" 2>&1 ||
  fail "release.sh: $(cat "$dir.log")"
grep -qx "release: $dir/release, unsigned (set GLIMMER_SIGN_PKCS12 and GLIMMER_SIGN_PASSWORD to sign)" "$dir.log" ||
  fail "no line saying the release is unsigned: $(cat "$dir.log")"
zip=$dir/release/Glimmerdot-$version-win32.zip
names=$(python3 -c 'import sys, zipfile; print("|".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
expected_names=$(basename -a "${programs[@]}" | tr '\n' '|')"$guide|LICENSE.txt"
[[ $names == "$expected_names" ]] || fail "the zip holds '$names', not '$expected_names'"
python3 -m zipfile -e "$zip" "$dir/unpacked"
for file in "${programs[@]}"; do
  cmp -s "$file" "$dir/unpacked/${file##*/}" || fail "${file##*/} in the zip is not $file"
done
cmp -s "$source/LICENSE" "$dir/unpacked/LICENSE.txt" || fail "LICENSE.txt in the zip is not $source/LICENSE"
python3 "$source/tests/release/check-guide.py" "$dir/unpacked/$guide" "$source" "$version" || fail "the zip's guide"
(cd "$dir/release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not check"
[[ $(wc -l <"$dir/release/SHA256SUMS") -eq 2 ]] || fail "SHA256SUMS: $(cat "$dir/release/SHA256SUMS")"
python3 "$source/tests/release/check-msi-tables.py" "$dir/release/Glimmerdot-$version-win32.msi" || fail "the MSI's tables"
# A version Windows Installer cannot hold, or could not tell from the next, makes no package.
refused=$(bash "$source/tools/release/make-msi.sh" "$@" --version 1.0.65535 "$dir/refused.msi" 2>&1) &&
  fail "make-msi.sh took version 1.0.65535"
[[ $refused == "make-msi.sh: version 1.0.65535: "* && ! -e $dir/refused.msi ]] || fail "version 1.0.65535: $refused"
echo "PASS: package_zip: ${names}, the guide, SHA256SUMS, the MSI's tables, version 1.0.65535 refused"
