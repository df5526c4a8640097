#!/usr/bin/env bash
# Start-up to the window shown, under Wine. Prints table rows; nothing here
# passes or fails on a figure.
#   bench/startup.sh [--rows FILE] [--against EXE] [ROUNDS]   (also: bench/run-bench.sh --startup)
#   bench/startup.sh --steps [ROUNDS]
# The first form starts Glimmerdot.exe, the bare dialog and the bare dialog
# with Glimmerdot's tray icon in turn, ROUNDS times each (default 15), and
# gives the medians and both ratios with their spread from round to round.
# --against EXE starts another Glimmerdot.exe (an older build, say) in the
# same rounds and gives the ratio against it too.
# --steps says where Glimmerdot's own start goes, beside the bare dialog with
# the tray icon: Wine stamps every call the two exes make (its relay trace,
# limited to calls from them) and every library they load; the medians of the
# steps between them follow. The trace slows every traced call and window
# message, so the steps add up to more than an untraced start.
# Folders: GLIMMER_BENCH_WIN32 (build/win32), GLIMMER_BENCH_PREFIX
# (build/bench-prefix); GLIMMER_BENCH_DISPLAY picks the X display number
# (default: the first free from 95; Xvfb is started there unless one answers).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

rows_file='' against='' steps=''
while [[ $# -gt 0 ]]; do
  case $1 in
  --rows) rows_file=$2; shift 2 ;;
  --against) against=$(realpath "$2"); shift 2 ;;
  --steps) steps=yes; shift ;;
  *) break ;;
  esac
done
rounds=${1:-15}
[[ $rounds =~ ^[0-9]+$ && $rounds -ge 1 ]] || { echo "startup.sh: ROUNDS must be a whole number, 1 or more" >&2; exit 2; }
[[ -z $against || -f $against ]] || { echo "startup.sh: no $against" >&2; exit 2; }

. bench/build-win32.sh
bench_build_win32 startup Glimmerdot bare_dialog tray_dialog startup_probe gunsimctl
out=$win/bench/startup
rm -rf "$out"
mkdir -p "$out"

. bench/wine-env.sh
down() { tools/gunsim/down.sh "$win" >>"$out/wine.log" 2>&1 || true; }
trap down EXIT
tools/gunsim/up.sh "$win" >>"$out/wine.log" 2>&1 || { tail -5 "$out/wine.log" >&2; exit 1; }
# What Wine is handed lies under C:\glimmer, short wherever the checkout is.
mkdir -p "$GLIMMER_STAGE/against"
cp "$win/app/Glimmerdot.exe" "$win"/bench/win32/{bare_dialog,tray_dialog,startup_probe}.exe "$GLIMMER_STAGE/"
[[ -z $against ]] || cp "$against" "$GLIMMER_STAGE/against/Glimmerdot.exe"
programs=('C:\glimmer\Glimmerdot.exe' 'C:\glimmer\bare_dialog.exe')

if [[ -n $steps ]]; then
  echo "== where Glimmerdot's start goes: $rounds traced starts (display $DISPLAY)"
  # Only calls made by the exe itself; Wine's default excludes calls from its
  # own libraries, which would win over the list.
  wine reg delete 'HKCU\Software\Wine\Debug' /v RelayFromExclude /f >>"$out/wine.log" 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Debug' /v RelayFromInclude /t REG_SZ /d 'glimmerdot.exe;tray_dialog.exe' /f \
    >>"$out/wine.log" 2>&1
  WINEDEBUG=+timestamp,+pid,+loaddll,+relay timeout 1800 wine 'C:\glimmer\startup_probe.exe' "$rounds" \
    "${programs[0]}" 'C:\glimmer\tray_dialog.exe' </dev/null >"$out/trace.raw" 2>&1 || true
  tr -d '\r' <"$out/trace.raw" >"$out/trace.txt"
  rm -f "$out/trace.raw"
  python3 bench/startup_steps.py "$out/trace.txt"
  echo "(the whole trace: ${out#"$root"/}/trace.txt)"
  exit 0
fi

echo "== start-up under Wine: $rounds starts of each (display $DISPLAY)"
programs+=('C:\glimmer\tray_dialog.exe')
[[ -z $against ]] || programs+=('C:\glimmer\against\Glimmerdot.exe')
probe_out=$out/startup_probe.out
# Into a file: a process Wine starts on the way must not hold a pipe of ours.
timeout 1800 wine 'C:\glimmer\startup_probe.exe' "$rounds" "${programs[@]}" </dev/null >"$out/probe.raw" 2>&1 || true
tr -d '\r' <"$out/probe.raw" >"$probe_out"
grep -q '^ratio A/C' "$probe_out" || { cat "$probe_out" >&2; echo "startup.sh: startup_probe failed" >&2; exit 1; }

field() { grep "^$1 " "$probe_out" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
le() { awk "BEGIN{exit !($1 <= $2)}"; }
# The ratio of the medians, then how the ratio within one round (starts close
# together in time) spread over the rounds.
ratio() {
  local line="ratio A/$1"
  echo "$(field "$line" startup) (within a round: median $(field "$line" rounds_median)," \
    "middle half $(field "$line" rounds_p25)..$(field "$line" rounds_p75)," \
    "all $(field "$line" rounds_min)..$(field "$line" rounds_max))"
}
times() { echo "$(field "median $1" startup_ms) ms ($(field "median $1" fastest_ms)..$(field "median $1" slowest_ms))"; }

rows=()
row() { rows+=("| $1 | $2 | $3 | $4 |"); }
row "start-up to window shown, Wine (median of $rounds, fastest..slowest)" \
  "Glimmerdot $(times A); bare dialog $(times B); bare dialog with the tray icon $(times C)" "" "-"
row "start-up ratio against the bare dialog" "$(ratio B)" "" "-"
tray=$(field "ratio A/C" startup)
row "start-up ratio against the bare dialog with the tray icon" "$(ratio C)" "ratio ≤ 1.2" \
  "$(le "$tray" 1.2 && echo met || echo MISSED)"
[[ -z $against ]] || row "start-up ratio against ${against#"$root"/} ($(times D))" "$(ratio D)" "" "-"
memory=$(field "ratio A/B" memory)
row "peak working set, Wine (median)" "$(field "median A" peak_kib) KiB vs $(field "median B" peak_kib) KiB bare: ratio $memory" \
  "ratio ≤ 1.2" "$(le "$memory" 1.2 && echo met || echo MISSED)"

printf '%s\n' "${rows[@]}"
[[ -z $rows_file ]] || printf '%s\n' "${rows[@]}" >"$rows_file"
echo "(each start: ${probe_out#"$root"/})"
