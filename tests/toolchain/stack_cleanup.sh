#!/usr/bin/env bash
# clang and GCC lay out some i686 calls differently (an empty class argument
# takes a stack slot only under GCC), and a function defined both by our
# clang-built objects and by GCC's prebuilt libstdc++ is kept once by the
# linker: callers of the other compiler then pop the wrong number of bytes.
# Fails when any such function's copies return popping different counts.
#   stack_cleanup.sh BUILD_DIR LIBSTDCXX_A
set -euo pipefail
[[ $# -eq 2 && -d $1 && -f $2 ]] || { echo "usage: stack_cleanup.sh BUILD_DIR LIBSTDCXX_A" >&2; exit 2; }
build=$1 lib=$2
nm=i686-w64-mingw32-nm objdump=i686-w64-mingw32-objdump

defined() { "$nm" --defined-only "$@" 2>/dev/null | awk '$2 ~ /^[TW]$/ { print $3 }' | sort -u; }
# "ret" or "ret $0xN" of every return of SYMBOL in FILES, each kind once.
returns() {
  local symbol=$1
  shift
  "$objdump" -d --disassemble="$symbol" "$@" 2>/dev/null | awk 'NF > 1 && ($NF == "ret" || $(NF-1) == "ret") {
    print ($NF ~ /^\$/ ? "ret " $NF : "ret") }' | sort -u | tr '\n' ' '
}

mapfile -t objects < <(find "$build" -name '*.obj' -not -path '*/CMakeFiles/CMakeScratch/*')
[[ ${#objects[@]} -gt 0 ]] || { echo "no objects under $build" >&2; exit 2; }
mapfile -t shared < <(comm -12 <(defined "${objects[@]}") <(defined "$lib"))
bad=0
for symbol in "${shared[@]}"; do
  ours=$(returns "$symbol" "${objects[@]}")
  theirs=$(returns "$symbol" "$lib")
  if [[ $ours != "$theirs" ]]; then
    echo "$symbol: ours ${ours:-none}, libstdc++'s ${theirs:-none}" >&2
    bad=1
  fi
done
echo "${#shared[@]} function(s) defined by both; $([[ $bad == 0 ]] && echo "each pops alike" || echo "some differ")"
exit "$bad"
