#!/usr/bin/env bash
# The three linters, each failing on any finding; every one finds its files itself:
#   - clang-tidy  every C++ file of ours the clang Windows build compiles (its
#                 compile_commands.json), with the checks in .clang-tidy
#   - cppcheck    the product code: every C/C++ file outside tests/, tools/, bench/
#   - shellcheck  every shell script in the repository (*.sh, or a shell #! line)
# A finding is fixed, or suppressed where it is with the reason beside it: a
# NOLINT(check) or cppcheck-suppress comment, or a shellcheck disable directive.
#   tools/lint.sh [CLANG_BUILD_DIR]   (default build/win32-clang, configured when missing)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build=${1:-build/win32-clang}
failed=()

if [[ ! -f $build/compile_commands.json ]]; then
  cmake -S . -B "$build" --toolchain cmake/toolchain-clang-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null ||
    { echo "lint.sh: cannot configure $build" >&2; exit 1; }
fi

echo "== clang-tidy"
python3 - "$build/compile_commands.json" "$PWD" >"$build/lint-files.txt" <<'PY' || failed+=(clang-tidy)
import json, os, sys
root = sys.argv[2] + os.sep
build = os.path.realpath(os.path.dirname(sys.argv[1])) + os.sep
files = {os.path.realpath(os.path.join(e["directory"], e["file"])) for e in json.load(open(sys.argv[1]))}
print("\n".join(sorted(f for f in files if f.startswith(root) and not f.startswith(build))))
PY
# Two at a time, as the build; one file a line, whatever spaces its path holds;
# clang-tidy's own counts of what it left out are noise.
xargs -d '\n' -P2 -n6 clang-tidy -p "$build" --quiet <"$build/lint-files.txt" 2>&1 |
  grep -vE '^[0-9]+ warnings? (generated|treated as errors)\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers'
[[ ${PIPESTATUS[0]} -eq 0 ]] || failed+=(clang-tidy)

echo "== cppcheck"
mapfile -t product < <(git ls-files '*.cpp' '*.c' | grep -vE '^(tests|tools|bench)/|/tests/')
cppcheck --quiet --error-exitcode=1 --inline-suppr --std=c++17 --language=c++ \
  --platform=win32A --library=windows -D_WIN32 -DWIN32 -D__MINGW32__ -I. \
  --enable=warning,style,performance,portability --suppress=missingIncludeSystem \
  --template='{file}:{line}: {severity}: {message} [{id}]' "${product[@]}" || failed+=(cppcheck)

echo "== shellcheck"
mapfile -t scripts < <(git ls-files | while IFS= read -r f; do
  case $f in
  *.sh) echo "$f" ;;
  *) [[ -f $f ]] && head -n 1 "$f" | grep -qE '^#!.*[/ ](ba|da)?sh( |$)' && echo "$f" ;;
  esac
done)
# Sourced files are followed from the script's folder or the top of the tree.
shellcheck -x -P SCRIPTDIR:. -f gcc "${scripts[@]}" || failed+=(shellcheck)

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "lint.sh: findings from: ${failed[*]}" >&2
  exit 1
fi
echo "lint.sh: clang-tidy (${build}), cppcheck (${#product[@]} files), shellcheck (${#scripts[@]} scripts): no findings"
