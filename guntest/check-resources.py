#!/usr/bin/env python3
"""Reads GunTest.exe's resources back: the window its testers read from
outside, the version block, the manifest and the icon it shares with Glimmerdot.

    check-resources.py GUNTEST_EXE GUNTEST_IDS_H GLIMMERDOT_ICO
"""
import os
import struct
import sys
import types

# The resource reader and its checks are Glimmerdot's, loaded from their file.
shared = types.ModuleType("glimmerdot_resources")
_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "check-resources.py")
with open(_path) as _f:
    exec(compile(_f.read(), _path, "exec"), shared.__dict__)
check, read_id, align4 = shared.check, shared.read_id, shared.align4

ENGLISH_US = 0x0409
FACT = shared.CHILD | shared.VISIBLE | 0x80  # SS_LEFT | SS_NOPREFIX, no SS_NOTIFY
LINE = shared.CHILD | shared.VISIBLE | 0x81  # SS_CENTER | SS_NOPREFIX
PUSH = shared.CHILD | shared.VISIBLE | shared.TABSTOP  # BS_PUSHBUTTON is 0


def check_dialog(data, name, caption, style_want, exstyle_want, want):
    """A template's caption, styles and controls: [(id, class, text, style)] in order."""
    _v, _s, _h, exstyle, style, count = struct.unpack_from("<HHIIIH", data)
    check(style == style_want, f"{name} style {style:#x}, want {style_want:#x}")
    check(exstyle == exstyle_want, f"{name} extended style {exstyle:#x}")
    _menu, pos = read_id(data, 26)
    _cls, pos = read_id(data, pos)
    title, pos = read_id(data, pos)
    check(title == caption, f"{name} caption {title!r}")
    pos += 6
    _face, pos = read_id(data, pos)
    got = []
    for _ in range(count):
        pos = align4(pos)
        _h, _ex, control_style, _x, _y, _cx, _cy, control_id = struct.unpack_from("<IIIhhhhi", data, pos)
        cls, pos = read_id(data, pos + 24)
        text, pos = read_id(data, pos)
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
        got.append((control_id, cls, text, hex(control_style)))
    want = [(i, c, t, hex(s)) for i, c, t, s in want]
    check(got == want, f"{name} controls {got}, want {want}")


def check_gun_test(data, ids):
    facts = ["IDC_GUN_STATUS", "IDC_GUN_RAW", "IDC_GUN_BUTTON_BYTES", "IDC_GUN_HELD", "IDC_GUN_CURSOR",
             "IDC_GUN_READ_RATE", "IDC_PRESS_LINE", "IDC_CALIBRATION_LINE", "IDC_SETTINGS_LINE"]
    want = [(ids[name], shared.STATIC, "", FACT) for name in facts]
    want += [(ids["IDC_GLIMMERDOT_NOTE"], shared.STATIC, "", FACT & ~shared.VISIBLE),
             (ids["IDC_AIM_PICTURE"], shared.STATIC, "", shared.CHILD | shared.VISIBLE | 0xD),  # SS_OWNERDRAW
             (ids["IDC_CALIBRATE"], shared.BUTTON, "Calibrate...", PUSH),
             (ids["IDC_RESET_CALIBRATION"], shared.BUTTON, "Reset calibration", PUSH),
             (-1, shared.BUTTON, "Play settings: Glimmerdot reads them at Start", shared.CHILD | shared.VISIBLE | 0x7)]
    # Plain lists in the order their items are stored: CBS_DROPDOWNLIST without CBS_SORT.
    lists = [("Off screen:", "IDC_PLAY_OFF_SCREEN"), ("Buttons:", "IDC_PLAY_BUTTONS"), ("Aim rate:", "IDC_PLAY_AIM_RATE"),
             ("Mouse button 4:", "IDC_PLAY_X1"), ("Mouse button 5:", "IDC_PLAY_X2")]
    for label, name in lists:
        want += [(-1, shared.STATIC, label, shared.CHILD | shared.VISIBLE),
                 (ids[name], 0x85, "", shared.CHILD | shared.VISIBLE | shared.VSCROLL | shared.TABSTOP | 0x3)]
    want += [(ids["IDC_PLAY_RAW_INPUT"], shared.BUTTON, "Raw-input readers", PUSH | 0x3),  # BS_AUTOCHECKBOX
             (ids["IDC_PLAY_LINE"], shared.STATIC, "", FACT),
             (ids["IDC_PLAY_SAVE"], shared.BUTTON, "Save", PUSH),
             (ids["IDC_PLAY_DEFAULTS"], shared.BUTTON, "Defaults", PUSH)]
    # Popup, caption, system menu, minimise box, fixed frame; on the task bar.
    check_dialog(data, "Gun Test", "Glimmerdot Gun Test", 0x90CA00C0, 0x00040000, want)


def check_calibration(data, ids):
    lines = ["IDC_CALIBRATION_STEP", "IDC_CALIBRATION_TARGET", "IDC_CALIBRATION_CHECK", "IDC_CALIBRATION_NOTE"]
    want = [(ids[name], shared.STATIC, "", LINE) for name in lines]
    want.append((ids["IDC_CALIBRATION_HELP"], shared.STATIC, "Esc leaves without changing anything", LINE))
    # A bare popup: no caption, no frame, nothing but the screen's own painting around its lines.
    check_dialog(data, "calibration screen", "Glimmerdot Calibration", 0x92000040, 0, want)


def check_version(data):
    (_key, _fixed, blocks), _ = shared.version_node(data)
    tables = {key: children for key, _, children in blocks}.get("StringFileInfo", [])
    strings = {key: value.decode("utf-16-le").rstrip("\0") for _, _, table in tables for key, value, _ in table}
    for key, value in (("FileDescription", "Glimmerdot Gun Test"), ("OriginalFilename", "GunTest.exe"),
                       ("CompanyName", "VEY"), ("ProductName", "Glimmerdot")):
        check(strings.get(key) == value, f"version {key} {strings.get(key)!r}")


def ico_images(path):
    with open(path, "rb") as f:
        ico = f.read()
    count = struct.unpack_from("<H", ico, 4)[0]
    entries = [struct.unpack_from("<II", ico, 6 + 16 * i + 8) for i in range(count)]
    return sorted(ico[offset:offset + size] for size, offset in entries)


def main():
    image, header, icon_file = sys.argv[1:4]
    ids = shared.ids_from_header(header)
    found = shared.read_resources(image)
    for kind, name, lang, _ in found:
        check(lang == ENGLISH_US, f"resource {(kind, name)} has language {lang:#06x}")
    entries = {(kind, name): data for kind, name, _, data in found}
    icons = sorted(data for (kind, _), data in entries.items() if kind == shared.RT_ICON)
    check(icons == ico_images(icon_file), "the icon is not Glimmerdot's")
    kinds = {key for key in entries if key[0] != shared.RT_ICON}
    want = {(shared.RT_DIALOG, ids["IDD_GUN_TEST"]), (shared.RT_DIALOG, ids["IDD_CALIBRATION"]),
            (shared.RT_GROUP_ICON, ids["IDR_MAINFRAME"]),
            (shared.RT_MANIFEST, 1), (shared.RT_VERSION, 1)}
    check(kinds == want, f"resources {sorted(kinds, key=str)}")

    check_gun_test(entries.get((shared.RT_DIALOG, ids["IDD_GUN_TEST"]), b"\0" * 64), ids)
    check_calibration(entries.get((shared.RT_DIALOG, ids["IDD_CALIBRATION"]), b"\0" * 64), ids)
    check_version(entries.get((shared.RT_VERSION, 1), b"\0" * 64))
    shared.check_manifest(entries.get((shared.RT_MANIFEST, 1), b""))

    for failure in shared.failures:
        print("FAIL:", failure)
    print("resources: %d problem(s)" % len(shared.failures))
    return 1 if shared.failures else 0


if __name__ == "__main__":
    sys.exit(main())
