#!/usr/bin/env bash
# Measures the figures the README reports and prints them as a table; nothing
# here passes or fails on a figure.
#   bench/run-bench.sh [ROUNDS]      ROUNDS: starts of each program under Wine (default 9)
#   bench/run-bench.sh --steadiness [SECONDS]   only how steady the aim is (bench/steadiness.sh)
# Figures: the exe's size and imports; start-up to the window shown and peak
# working set under Wine, each as a ratio against a bare DialogBoxParamA
# program on the same template, alternating in one run; the host tick's time
# (Google Benchmark) and its instructions (callgrind) on a build without
# sanitizers; how evenly a running conversion reads the gun, idle and busy.
# The exe's size is also given as clang and lld make it (build/win32-clang).
# Builds what is missing in build/win32, build/win32-clang and build/bench-host; Wine runs in its
# own prefix (build/bench-prefix) on its own Xvfb (GLIMMER_BENCH_DISPLAY: its
# number, else the first free from 95).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [[ ${1:-} == --steadiness ]]; then
  shift
  exec bench/steadiness.sh "$@"
fi
rounds=${1:-9}
. cmake/ensure-deps.sh
ensure_deps
ensure_i386_exec

# Other folders for a second checkout's runs: GLIMMER_BENCH_WIN32, _WIN32_CLANG, _HOST, _PREFIX.
win=${GLIMMER_BENCH_WIN32:-$root/build/win32}
win_clang=${GLIMMER_BENCH_WIN32_CLANG:-$root/build/win32-clang}
host=${GLIMMER_BENCH_HOST:-$root/build/bench-host}
results=$host/bench-results.md

echo "== building (${win#"$root"/}, ${win_clang#"$root"/}, ${host#"$root"/})"
mkdir -p "$root/build"
buildlog=$root/build/bench-build.log
mkdir -p "$host"
{ cmake -S . -B "$win" --toolchain cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel &&
  cmake --build "$win" -j2 &&
  cmake -S . -B "$win_clang" --toolchain cmake/toolchain-clang-mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel &&
  cmake --build "$win_clang" -j2 --target Glimmerdot &&
  cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DGLIMMER_SANITIZE=OFF &&
  cmake --build "$host" -j2 --target glimmer_tick_bench glimmer_tick_instructions; } >"$buildlog" 2>&1 ||
  { tail -30 "$buildlog" >&2; exit 1; }

rows=()
row() { rows+=("| $1 | $2 | $3 | $4 |"); }

# --- the exe ------------------------------------------------------------------
exe=$win/app/Glimmerdot.exe
size=$(stat -c %s "$exe")
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort -f | tr '\n' ' ' | sed 's/ $//')
symbols=$(i686-w64-mingw32-objdump -t "$exe" | grep -c '^\[' || true)
debug=$(i686-w64-mingw32-objdump -h "$exe" | grep -c '\.debug' || true)
[[ $symbols == 0 && $debug == 0 ]] && stripped=stripped || stripped="NOT stripped"
# The runtime is linked in statically: a lib*.dll import would be MinGW's own.
nonsystem=$(tr ' ' '\n' <<<"$imports" | grep -i '^lib.*\.dll$' || true)
row "exe size" "$size bytes ($(awk "BEGIN{printf \"%.1f\", $size/1024}") KiB, $stripped)" "≤ 64 KiB" \
  "$([[ $size -le 65536 ]] && echo met || echo MISSED)"
clang_size=$(stat -c %s "$win_clang/app/Glimmerdot.exe")
row "exe size, clang 14 and lld (GCC stays the release compiler)" \
  "$clang_size bytes ($(awk "BEGIN{printf \"%.1f KiB, %.2f of GCC's\", $clang_size/1024, $clang_size/$size}"))" "" ""
row "exe imports" "$imports" "system DLLs only" "$([[ -z $nonsystem ]] && echo met || echo "MISSED: $nonsystem")"
guntest=$win/guntest/GunTest.exe
guntest_size=$(stat -c %s "$guntest")
guntest_imports=$(i686-w64-mingw32-objdump -p "$guntest" | sed -n 's/^\s*DLL Name: //p' | sort -f | tr '\n' ' ' | sed 's/ $//')
row "Gun Test exe size and imports" "$guntest_size bytes ($(awk "BEGIN{printf \"%.1f\", $guntest_size/1024}") KiB); $guntest_imports" \
  "≤ Glimmerdot.exe, system DLLs only" "$([[ $guntest_size -le $size && $guntest_imports != *lib*.dll* ]] && echo met || echo MISSED)"

# --- host tick ----------------------------------------------------------------
echo "== host tick: Google Benchmark"
"$host/bench/glimmer_tick_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json >"$host/tick_bench.json"
tick=$(python3 - "$host/tick_bench.json" <<'EOF'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
def median(name):
    for r in runs:
        if r["name"] == f"BM_PollTick/busy:{name}_median":
            return r["cpu_time"], r.get("allocations", 0)
rest, busy = median(0), median(1)
allocations = int(rest[1] + busy[1])
print(f"{rest[0]:.1f} ns resting, {busy[0]:.1f} ns moving and clicking; heap allocations {allocations}")
print("met" if max(rest[0], busy[0]) < 50 and allocations == 0 else "MISSED")
EOF
)
row "host tick, Poll + Update (median of 5)" "$(head -1 <<<"$tick")" "< 50 ns, no allocation" "$(tail -1 <<<"$tick")"

echo "== host tick: callgrind"
callgrind() {
  local mode=$1 out=$host/callgrind.$1
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out" \
    "$host/bench/glimmer_tick_instructions" "$mode" >/dev/null 2>&1
  # Per tick: everything, and our code alone (less the stand-in's platform calls).
  callgrind_annotate --inclusive=yes "$out" 2>/dev/null | python3 -c '
import re, sys
total = stub = 0
for line in sys.stdin:
    m = re.match(r"\s*([\d,]+) .*?(PROGRAM TOTALS|\?\?\?:(\w+)\()", line)
    if not m: continue
    n = int(m.group(1).replace(",", ""))
    if m.group(2) == "PROGRAM TOTALS": total = n
    elif m.group(3) in ("ReadFile", "GetLastError", "SetCursorPos", "mouse_event"): stub += n
ticks = 100000
print(f"{total / ticks:.1f} ({(total - stub) / ticks:.1f} in our code)")'
}
row "instructions per tick (callgrind, 100,000 ticks)" \
  "resting $(callgrind rest), moving and clicking $(callgrind busy)" "repeatable" "-"

# --- under Wine ---------------------------------------------------------------
echo "== start-up and memory under Wine ($rounds starts of each)"
. bench/wine-env.sh
down() { tools/gunsim/down.sh "$win" >/dev/null 2>&1 || true; }
trap down EXIT
tools/gunsim/up.sh "$win" >/dev/null
probe_out=$win/bench/win32/startup_probe.out
# What Wine is handed lies under C:\glimmer, short wherever the checkout is.
mkdir -p "$GLIMMER_STAGE" && cp "$exe" "$win"/bench/win32/{startup_probe,bare_dialog}.exe "$GLIMMER_STAGE/"
# Into a file: a process Wine starts on the way must not hold a pipe of ours.
timeout 1800 wine 'C:\glimmer\startup_probe.exe' "$rounds" 'C:\glimmer\Glimmerdot.exe' \
  'C:\glimmer\bare_dialog.exe' </dev/null >"$probe_out.raw" 2>&1 || true
tr -d '\r' <"$probe_out.raw" >"$probe_out"
down
trap - EXIT
grep -q '^ratio' "$probe_out" || { cat "$probe_out" >&2; echo "startup_probe failed" >&2; exit 1; }
read -r startup_a peak_a < <(sed -n 's/^median A startup_ms=\([0-9.]*\) peak_kib=\([0-9]*\)/\1 \2/p' "$probe_out")
read -r startup_b peak_b < <(sed -n 's/^median B startup_ms=\([0-9.]*\) peak_kib=\([0-9]*\)/\1 \2/p' "$probe_out")
read -r ratio_start ratio_mem < <(sed -n 's/^ratio startup=\([0-9.]*\) memory=\([0-9.]*\)/\1 \2/p' "$probe_out")
le() { awk "BEGIN{exit !($1 <= $2)}"; }
row "start-up to window shown under Wine (median of $rounds)" \
  "$startup_a ms vs $startup_b ms bare: ratio $ratio_start" "ratio ≤ 1.2" "$(le "$ratio_start" 1.2 && echo met || echo MISSED)"
row "peak working set under Wine (median of $rounds)" \
  "$peak_a KiB vs $peak_b KiB bare: ratio $ratio_mem" "ratio ≤ 1.2" "$(le "$ratio_mem" 1.2 && echo met || echo MISSED)"

bench/steadiness.sh --rows "$host/steadiness.rows"
mapfile -t -O "${#rows[@]}" rows <"$host/steadiness.rows"

{
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) × $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), $(wine --version)"
  echo
  echo "| figure | measured | goal | |"
  echo "|---|---|---|---|"
  printf '%s\n' "${rows[@]}"
} | tee "$results"
echo "(also in ${results#"$root"/}; each start under Wine: ${probe_out#"$root"/})"
