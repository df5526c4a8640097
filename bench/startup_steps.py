#!/usr/bin/env python3
"""Where Glimmerdot's start goes, from a Wine trace (bench/startup.sh --steps).

Reads Wine's debug output (+timestamp,+pid,+loaddll, and +relay limited to the
calls that Glimmerdot.exe and tray_dialog.exe make) together with
startup_probe's "run" lines, which carry the tick of CreateProcessA and of the
window seen shown, on the clock that stamps the trace. Prints the median time
of each step of the start in milliseconds, for Glimmerdot and for the bare
dialog with the tray icon beside it, and Glimmerdot's own steps in between.
The probe's first, unrecorded start of each program is left out.
"""
import re
import statistics
import sys

# Each step runs from its marker's first line to the next found marker's; a
# marker is searched for only after the one before it. Markers marked "ours"
# exist only in Glimmerdot's start.
MARKERS = [
    ("mapped", False, "the imported libraries are mapped",
     r"trace:loaddll:build_module Loaded .*\\(Glimmerdot|tray_dialog)\.exe"),
    ("attach", False, "the libraries are attached (their DllMain)",
     r"Call PE DLL \(proc=\w+,module=\w+ L\"ntdll\.dll\""),
    ("crt", False, "the C runtime starts; static objects, WinMain",
     r"Call TLS callback \(proc=004"),
    ("emulator", True, "  the dialog's constructor: the emulator reads the screen size",
     r"Call user32\.GetDesktopWindow\("),
    ("icon", True, "  the dialog's constructor: the icon is loaded",
     r"Call user32\.LoadIconA\("),
    ("classes", False, "the common control classes are registered",
     r"Call comctl32\.InitCommonControlsEx\("),
    ("dialogbox", False, "DialogBoxParamA: the system builds the window and its 13 controls",
     r"Call user32\.DialogBoxParamA\("),
    ("initdialog", True, "  OnInitDialog: CDialog::OnInitDialog, subclassing",
     r"Call dialog proc \w+ \(hwnd=\w+,msg=WM_INITDIALOG"),
    ("seticon", True, "  OnInitDialog: WM_SETICON big and small",
     r"Call user32\.SendMessageA\(\w+,00000080,"),
    ("tray", False, "WM_INITDIALOG: the tray icon (its icon loaded, Shell_NotifyIconA)",
     r"Call (KERNEL32\.GetModuleHandleA\(00000000\)|user32\.LoadIconA\()"),
    ("slider", True, "  OnInitDialog: the slider's range",
     r"Call user32\.SendDlgItemMessageA\(\w+,000003eb,00000407,"),
    ("lists", True, "  OnInitDialog: the three lists filled (21 items)",
     r"Call user32\.SendDlgItemMessageA\(\w+,000003ee,00000401,"),
    ("settings", True, "  OnInitDialog: the settings read from the registry",
     r"Call advapi32\.RegOpenKeyA\("),
    ("show", True, "  OnInitDialog: the settings shown",
     r"Call user32\.SendDlgItemMessageA\(\w+,000003ee,0000014e,"),
    ("centre", True, "  the window centred on the screen",
     r"Call KERNEL32\.FindResourceA\("),
    ("initdone", False, "the dialog manager shows the window until the probe sees it",
     r"Ret  dialog proc \w+ \(hwnd=\w+,msg=WM_INITDIALOG"),
]

LINE = re.compile(r"^\s*(\d+)\.(\d{3}):([0-9a-f]{4}):[0-9a-f]{4}:(.*)$")
RUN = re.compile(r"^run ([A-Z]) .*created_tick=(\d+) shown_tick=(\d+)")


def steps_of(pid_lines, ours):
    """The tick of each marker found, in order, or None where one is missing."""
    found = {}
    wanted = [m for m in MARKERS if ours or not m[1]]
    index = 0
    for tick, text in pid_lines:
        if index < len(wanted) and re.search(wanted[index][3], text):
            found[wanted[index][0]] = tick
            index += 1
    return found if index == len(wanted) else None


def main(path):
    runs = []        # (created, shown) of every recorded start
    lines = {}       # pid -> [(tick, text)]
    with open(path, errors="replace") as trace:
        for raw in trace:
            run = RUN.match(raw)
            if run:
                runs.append((int(run.group(2)), int(run.group(3))))
                continue
            m = LINE.match(raw)
            if m:
                lines.setdefault(m.group(3), []).append((int(m.group(1)) * 1000 + int(m.group(2)), m.group(4)))

    durations = {True: {}, False: {}}   # ours (Glimmerdot) or the baseline -> step -> [ms]
    for pid_lines in lines.values():
        exe = next((t for _, t in pid_lines if "trace:loaddll" in t and ".exe" in t), "")
        if "Glimmerdot.exe" not in exe and "tray_dialog.exe" not in exe:
            continue
        ours = "Glimmerdot.exe" in exe
        found = steps_of(pid_lines, ours)
        if found is None:
            continue
        run = next((r for r in runs if r[0] <= found["mapped"] <= r[1]), None)
        if run is None:
            continue  # the warm-up start
        names = list(found)
        ends = [found[n] for n in names[1:]] + [run[1]]
        steps = {"created": found["mapped"] - run[0], "total": run[1] - run[0]}
        steps.update({n: end - found[n] for n, end in zip(names, ends)})
        for n, ms in steps.items():
            durations[ours].setdefault(n, []).append(ms)

    if not durations[True] or not durations[False]:
        sys.exit("startup_steps.py: no complete traced start of both programs in " + path)
    starts = [len(durations[k]["total"]) for k in (True, False)]
    median = lambda k, n: statistics.median(durations[k][n]) if n in durations[k] else None
    print(f"ms, median of {starts[0]} and {starts[1]} traced starts")
    print(f"{'Glimmerdot':>10} {'bare+tray':>10}  step")
    rows = [("created", False, "CreateProcessA until the exe is mapped")]
    rows += [(n, o, w) for n, o, w, _ in MARKERS]
    rows += [("total", False, "in all, CreateProcessA to the window seen shown")]
    for name, own, what in rows:
        base = "" if own else f"{median(False, name):10.1f}"
        print(f"{median(True, name):10.1f} {base:>10}  {what}")


if __name__ == "__main__":
    main(sys.argv[1])
