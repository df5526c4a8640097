#!/usr/bin/env bash
# The release as a user unpacks it:  package_zip.sh DIR VERSION SOURCE EXE... -- RELEASE_OPTIONS...
# The zip holds the shipped programs, the guide and LICENSE (not the
# developers' README), the programs and the licence the same bytes as built or
# as in the source, the guide as check-guide.py wants it; SHA256SUMS checks the
# zip and the MSI.
set -euo pipefail
dir=$1 version=$2 source=$3
shift 3
programs=()
while [[ $1 != -- ]]; do programs+=("$1"); shift; done
shift
expected=("${programs[@]}" "$source/LICENSE")
guide="Glimmerdot Guide.txt"
fail() { echo "FAIL: package_zip: $*" >&2; exit 1; }

rm -rf "$dir"
env -u GLIMMER_SIGN_PKCS12 bash "$source/tools/release/release.sh" "$@" "$dir/release" >"$dir.log" 2>&1 ||
  fail "release.sh: $(cat "$dir.log")"
grep -qx "release: $dir/release, unsigned (set GLIMMER_SIGN_PKCS12 and GLIMMER_SIGN_PASSWORD to sign)" "$dir.log" ||
  fail "no line saying the release is unsigned: $(cat "$dir.log")"
zip=$dir/release/Glimmerdot-$version-win32.zip
names=$(python3 -c 'import sys, zipfile; print("|".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
expected_names=$(basename -a "${programs[@]}" | tr '\n' '|')"$guide|LICENSE"
[[ $names == "$expected_names" ]] || fail "the zip holds '$names', not '$expected_names'"
python3 -m zipfile -e "$zip" "$dir/unpacked"
for file in "${expected[@]}"; do
  cmp -s "$file" "$dir/unpacked/${file##*/}" || fail "${file##*/} in the zip is not $file"
done
python3 "$source/tests/release/check-guide.py" "$dir/unpacked/$guide" "$source" "$version" || fail "the zip's guide"
(cd "$dir/release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not check"
[[ $(wc -l <"$dir/release/SHA256SUMS") -eq 2 ]] || fail "SHA256SUMS: $(cat "$dir/release/SHA256SUMS")"
echo "PASS: package_zip: ${names}, the guide, and SHA256SUMS"
