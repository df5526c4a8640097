#!/usr/bin/env bash
# Two releases of the committed source must be the same bytes:
#   compare-builds.sh SOURCE WORK_DIR
# Clones SOURCE's HEAD twice into WORK_DIR, in folders of different depth and
# name, and builds the release target in each, one after the other (so every
# file of the second is younger), the second in another time zone and with
# another umask. Then the two release folders and the exes must be equal byte
# for byte, the exes must carry the commit's time, and no file may name a
# folder of either build. Uncommitted changes are not in either build.
# Exits 77 (skipped) when SOURCE is not a git checkout.
set -euo pipefail
fail() { echo "FAIL: compare-builds: $*" >&2; exit 1; }
[[ $# -eq 2 ]] || { echo "usage: compare-builds.sh SOURCE WORK_DIR" >&2; exit 2; }
source=$(realpath "$1") work=$(realpath -m "$2")
[[ -e $source/.git ]] || { echo "compare-builds: $source is not a git checkout"; exit 77; }
commit=$(git -C "$source" rev-parse HEAD) || fail "git cannot read $source"
epoch=$(git -C "$source" log -1 --format=%ct)
rm -rf "$work"
mkdir -p "$work"

# build NAME SOURCE_DIR BUILD_DIR [ENV...]: a clone of HEAD and its release.
build() {
  local name=$1 src=$2 bin=$3
  shift 3
  { git clone --quiet --no-checkout "$source" "$src" && git -C "$src" checkout --quiet "$commit"; } ||
    fail "cloning $source into $src"
  # shellcheck disable=SC2016 # $1 is the inner shell's own argument, the build folder
  (cd "$src" && env -u SOURCE_DATE_EPOCH "$@" bash -c '
    cmake -S . -B "$1" --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel &&
      cmake --build "$1" -j2 --target release' _ "$bin") >"$work/$name.log" 2>&1 ||
    fail "build $name failed (see $work/$name.log): $(tail -n 5 "$work/$name.log")"
}
a_src=$work/a/src a_bin=$work/a/build
b_src=$work/second/checkout-of-head b_bin=$work/second/checkout-of-head/build/win32
build first "$a_src" "$a_bin" TZ=UTC0
build second "$b_src" "$b_bin" TZ=Pacific/Chatham bash -c 'umask 077 && exec "$@"' _

mapfile -t releases < <(cd "$a_bin/release" && ls)
[[ ${#releases[@]} -eq 3 ]] || fail "the release holds ${releases[*]}, not a zip, an MSI and SHA256SUMS"
exes=()
for exe in app/Glimmerdot.exe guntest/GunTest.exe; do
  [[ -f $a_bin/$exe ]] && exes+=("$exe")
done

# What differs between the two MSIs, table by table and file by file.
explain_msi() {
  local side
  for side in a b; do
    mkdir -p "$work/msi-$side/tables" "$work/msi-$side/files"
    (cd "$work/msi-$side/tables" && msidump -s -t "$1" >/dev/null) &&
      msiextract -C "$work/msi-$side/files" "$1" >/dev/null
    shift
  done
  diff -r "$work/msi-a" "$work/msi-b" | head -n 20
}

for file in "${releases[@]}"; do
  cmp -s "$a_bin/release/$file" "$b_bin/release/$file" && continue
  [[ $file == *.msi ]] && explain_msi "$a_bin/release/$file" "$b_bin/release/$file" >&2
  fail "release/$file differs between the two builds"
done
for exe in "${exes[@]}"; do
  cmp -s "$a_bin/$exe" "$b_bin/$exe" || fail "$exe differs between the two builds"
  # The header's time stamp (COFF TimeDateStamp) is the commit's time.
  header=$(od -An -tu4 -j 60 -N 4 "$a_bin/$exe" | tr -d ' ')
  stamp=$(od -An -tu4 -j $((header + 8)) -N 4 "$a_bin/$exe" | tr -d ' ')
  [[ $stamp == "$epoch" ]] || fail "$exe is stamped $stamp, not the commit's time $epoch"
done

# No folder of either build in any shipped byte, unpacked ones included.
mkdir -p "$work/unpacked/zip" "$work/unpacked/msi"
python3 -m zipfile -e "$a_bin/release/"*.zip "$work/unpacked/zip"
msiextract -C "$work/unpacked/msi" "$a_bin/release/"*.msi >/dev/null
for path in "$a_src" "$a_bin" "$b_src" "$b_bin" "$work"; do
  found=$(grep -rlF "$path" "$a_bin/release" "$work/unpacked" "${exes[@]/#/$a_bin/}" || true)
  [[ -z $found ]] || fail "$path is written in $found"
done

(cd "$a_bin/release" && for file in "${releases[@]}" "${exes[@]/#/../}"; do
  printf '%-34s %7d bytes  sha256 %s\n' "${file#../}" "$(stat -c %s "$file")" "$(sha256sum <"$file" | cut -d' ' -f1)"
done)
echo "PASS: compare-builds: two builds of $commit (time $epoch) are byte-identical"
