#!/usr/bin/env python3
"""Reads the compiled resources back and checks what windres actually wrote.

    check-resources.py OBJECT_OR_EXE RESOURCE_H

The shorthand rc statements, windres's own defaults and the source encoding
can each change a style bit, a class or a face name without a warning, so the
layout is compared field by field against what the window must be.
"""
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_BITMAP, RT_ICON, RT_MENU, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 2, 3, 4, 5, 14, 16, 24
CHINESE_PRC = 0x0804
BUTTON, STATIC = 0x80, 0x82
CHILD, VISIBLE, DISABLED, VSCROLL, GROUP, TABSTOP = (
    0x40000000, 0x10000000, 0x08000000, 0x00200000, 0x00020000, 0x00010000)
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def ids_from_header(path):
    with open(path) as f:
        return {m[1]: int(m[2], 0) for m in re.finditer(r"#define\s+(\w+)\s+(\w+)", f.read())}


def read_id(data, pos):
    """A resource or class id: an ordinal or a NUL-terminated UTF-16 string."""
    if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0]:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def align4(pos):
    return (pos + 3) & ~3


def read_resources(path):
    """[(type, name, language, data)] from the resource section of a COFF
    object or a PE image: the bytes that end up in the program."""
    with open(path, "rb") as f:
        data = f.read()
    coff = struct.unpack_from("<I", data, 0x3C)[0] + 4 if data[:2] == b"MZ" else 0
    sections, _, _, _, optional = struct.unpack_from("<HIIIH", data, coff + 2)
    for i in range(sections):
        name, _, address, size, raw = struct.unpack_from("<8sIIII", data, coff + 20 + optional + 40 * i)
        if name.rstrip(b"\0") == b".rsrc":
            break
    else:
        return []
    rsrc = data[raw:raw + size]

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", rsrc, directory + 12)
        for i in range(named + numbered):
            key, target = struct.unpack_from("<II", rsrc, directory + 16 + 8 * i)
            if key & 0x80000000:
                length = struct.unpack_from("<H", rsrc, key & 0x7FFFFFFF)[0]
                start = (key & 0x7FFFFFFF) + 2
                key = rsrc[start:start + 2 * length].decode("utf-16-le")
            yield key, target & 0x7FFFFFFF

    found = []
    for kind, names in entries(0):
        for name, languages in entries(names):
            for lang, leaf in entries(languages):
                rva, length = struct.unpack_from("<II", rsrc, leaf)
                found.append((kind, name, lang, rsrc[rva - address:rva - address + length]))
    return found


def check_dialog(data, ids):
    version, signature, _help, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", data)
    check((version, signature) == (1, 0xFFFF), "dialog is not an extended template")
    check(style == 0x90CA00C0, f"dialog style {style:#x}")
    check(exstyle == 0x00040000, f"dialog extended style {exstyle:#x}")
    check((x, y, cx, cy) == (0, 0, 297, 125), f"dialog rectangle {(x, y, cx, cy)}")
    menu, pos = read_id(data, 26)
    cls, pos = read_id(data, pos)
    title, pos = read_id(data, pos)
    check((menu, cls, title) == ("", "", "VEY Glimmerdot V1.0"), f"dialog menu/class/caption {(menu, cls, title)}")
    points, weight, italic, charset = struct.unpack_from("<HHBB", data, pos)
    face_start = pos + 6
    face, pos = read_id(data, face_start)
    check((points, weight, italic, charset) == (9, 0, 0, 1), f"font {(points, weight, italic, charset)}")
    check(data[face_start:face_start + 6] == b"\x8b\x5b\x53\x4f\x00\x00", f"font face {face!r}")

    combo = CHILD | VISIBLE | VSCROLL | TABSTOP | 0x0100 | 0x0003  # CBS_SORT | CBS_DROPDOWNLIST
    label = CHILD | VISIBLE | GROUP  # SS_LEFT is 0
    expected = [
        (ids["IDC_START"], BUTTON, "Start", CHILD | VISIBLE | TABSTOP | 0x1, (129, 96, 50, 14)),
        (2, BUTTON, "Cancel", CHILD | VISIBLE | TABSTOP, (63, 96, 50, 14)),
        (-1, BUTTON, "Speed", CHILD | 0x7, (7, 7, 148, 47)),
        (-1, BUTTON, "Button", CHILD | VISIBLE | 0x7, (7, 7, 194, 76)),
        (ids["IDC_SPEED_SLIDER"], "MSCTLS_TRACKBAR32", "Slider1", CHILD | TABSTOP | 0x8 | 0x10, (12, 23, 138, 15)),
        (-1, STATIC, "Left Button", label, (13, 23, 60, 12)),
        (-1, STATIC, "Middle Button", label, (13, 43, 60, 12)),
        (-1, STATIC, "Right Button", label, (13, 63, 57, 12)),
        (ids["IDC_LEFT_BUTTON"], "COMBOBOXEX32", "", combo, (90, 21, 107, 69)),
        (ids["IDC_MIDDLE_BUTTON"], "COMBOBOXEX32", "", combo, (90, 41, 107, 78)),
        (ids["IDC_RIGHT_BUTTON"], "COMBOBOXEX32", "", combo, (90, 59, 107, 59)),
        (ids["IDC_LOGO"], STATIC, ids["IDB_LOGO"], CHILD | VISIBLE | 0xE, (203, 27, 81, 40)),
        (ids["IDC_STOP"], BUTTON, "Stop", CHILD | VISIBLE | TABSTOP | DISABLED, (193, 96, 50, 14)),
    ]
    check(count == len(expected), f"dialog has {count} controls")
    for want_id, want_cls, want_text, want_style, want_rect in expected[:count]:
        pos = align4(pos)
        _help, exstyle, style, x, y, cx, cy, control_id = struct.unpack_from("<IIIhhhhi", data, pos)
        cls, pos = read_id(data, pos + 24)
        text, pos = read_id(data, pos)
        extra = struct.unpack_from("<H", data, pos)[0]
        pos += 2 + extra
        if isinstance(cls, str):
            cls = cls.upper()
        got = (control_id, cls, text, hex(style), hex(exstyle), (x, y, cx, cy))
        want = (want_id, want_cls, want_text, hex(want_style), "0x0", want_rect)
        check(got == want, f"control {want_text!r}: got {got}, want {want}")


def check_menu(data, ids):
    pos, items = 4, []  # past the version and header size
    while pos < len(data):
        flags = struct.unpack_from("<H", data, pos)[0]
        item_id, pos = (None, pos + 2) if flags & 0x10 else (struct.unpack_from("<H", data, pos + 2)[0], pos + 4)
        text, pos = read_id(data, pos)
        items.append((flags, item_id, text))
    want = [(0x90, None, "Menu"), (0, ids["ID_TRAY_SETTING"], "Setting"), (0x80, ids["ID_TRAY_EXIT"], "Exit")]
    check(items == want, f"tray menu {items}")


def version_node(data, pos=0):
    """(key, value bytes, children) of the version block's node at pos, and where the next one starts."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, pos)
    key, at = read_id(data, pos + 6)
    at = align4(at)
    size = value_length * 2 if is_text else value_length
    value = data[at:at + size]
    children, at = [], align4(at + size)
    while at < pos + length:
        child, at = version_node(data, at)
        children.append(child)
    return (key, value, children), align4(pos + length)


def check_version(data):
    (key, fixed, blocks), _ = version_node(data)
    check(key == "VS_VERSION_INFO" and len(fixed) == 52, f"version block {key!r}")
    if len(fixed) != 52:
        return
    fields = struct.unpack_from("<13I", fixed)
    check(fields[0] == 0xFEEF04BD, "version fixed info signature")
    check(fields[2:6] == (0x10000, 1, 0x10000, 1), f"file/product version {fields[2:6]}")
    check((fields[8], fields[9]) == (4, 1), f"file OS/type {fields[8:10]}")
    found = {key: children for key, _, children in blocks}
    tables = found.get("StringFileInfo", [])
    check([t[0] for t in tables] == ["080404B0"], f"string tables {[t[0] for t in tables]}")
    translation = [v for k, v, _ in found.get("VarFileInfo", []) if k == "Translation"]
    check(translation == [struct.pack("<HH", 0x0804, 1200)], f"translation {translation}")


def check_images(entries, ids):
    group = entries.get((RT_GROUP_ICON, ids["IDR_MAINFRAME"]), (0, b"\0" * 6))[1]
    count = struct.unpack_from("<H", group, 4)[0]
    check(count == 1, f"icon group holds {count} images")
    if count == 1:
        w, h, colours, _, planes, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        check((w, h, colours, planes, bits) == (32, 32, 16, 1, 4), f"icon entry {(w, h, colours, planes, bits)}")
        icon = entries.get((RT_ICON, icon_id), (0, b"\0" * 40))[1]
        check(struct.unpack_from("<IiiHH", icon) == (40, 32, 64, 1, 4), "icon image is not 32x32 4-bit")
    bitmap = entries.get((RT_BITMAP, ids["IDB_LOGO"]), (0, b"\0" * 40))[1]
    size, w, h, planes, bits, compression, _, _, _, used = struct.unpack_from("<IiiHHIIiiI", bitmap)
    check((size, w, h, planes, bits, compression) == (40, 122, 60, 1, 8, 0),
          f"logo header {(size, w, h, planes, bits, compression)}")
    check(used in (0, 256) and len(bitmap) == 40 + 1024 + 124 * 60, "logo is not a full 256-colour bitmap")


def check_manifest(data):
    """Common controls 6 and per-monitor DPI awareness (v2, the older declaration
    before Windows 10 1607), each in its namespace: a wrong one drops an element
    without a word. No trustInfo: an execution level would end the registry
    virtualisation the settings rely on."""
    root = ElementTree.fromstring(data)
    v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
    controls = root.find(f"{v1}dependency/{v1}dependentAssembly/{v1}assemblyIdentity")
    check(controls is not None and controls.get("version") == "6.0.0.0", "no common controls 6 in the manifest")
    settings = f"{v3}application/{v3}windowsSettings/{{http://schemas.microsoft.com/SMI/"
    dpi = [[e.text for e in root.findall(settings + name)]
           for name in ("2005/WindowsSettings}dpiAware", "2016/WindowsSettings}dpiAwareness")]
    check(dpi == [["true/pm"], ["PerMonitorV2, PerMonitor"]], f"manifest DPI awareness {dpi}")
    check(not any(e.tag.endswith("trustInfo") for e in root.iter()), "manifest asks for an execution level")


def main():
    image, header = sys.argv[1:3]
    ids = ids_from_header(header)
    found = read_resources(image)
    for kind, name, lang, _ in found:
        check(lang == CHINESE_PRC, f"resource {(kind, name)} has language {lang:#06x}")
    entries = {(kind, name): (lang, data) for kind, name, lang, data in found}
    check(len(entries) == len(found), "a resource is there in more than one language")
    icon_ids = [name for kind, name in entries if kind == RT_ICON]
    expected = {(RT_DIALOG, ids["IDD_CONTROL_PANEL"]), (RT_MENU, ids["IDR_TRAY_MENU"]),
                (RT_GROUP_ICON, ids["IDR_MAINFRAME"]), (RT_BITMAP, ids["IDB_LOGO"]),
                (RT_MANIFEST, 1), (RT_VERSION, 1)} | {(RT_ICON, i) for i in icon_ids}
    check(set(entries) == expected, f"resources {sorted(entries, key=str)}")

    empty = (0, b"\0" * 64)
    check_dialog(entries.get((RT_DIALOG, ids["IDD_CONTROL_PANEL"]), empty)[1], ids)
    check_menu(entries.get((RT_MENU, ids["IDR_TRAY_MENU"]), empty)[1], ids)
    check_version(entries.get((RT_VERSION, 1), empty)[1])
    check_images(entries, ids)
    check_manifest(entries.get((RT_MANIFEST, 1), (0, b""))[1])

    for failure in failures:
        print("FAIL:", failure)
    print("resources: %d problem(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
