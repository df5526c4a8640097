#!/usr/bin/env python3
"""msi_summary.py MSI EPOCH PACKAGE_CODE: sets, in place, the three values of an
MSI's summary information that wixl takes from the clock and the random
generator: the package code (revision number) and the created and last-saved
times. The summary is one small property-set stream; this finds it by its
format id and rewrites the values where they lie, each the same length as
before, so nothing else in the file moves. The caller checks the result with
msiinfo, which would see a stream stored in pieces as unchanged."""
import struct
import sys

SUMMARY_FMTID = bytes.fromhex("e0859ff2f94f6810ab9108002b27b3d9")
PID_REVISION, PID_CREATED, PID_SAVED = 9, 12, 13
VT_LPSTR, VT_FILETIME = 0x1E, 0x40
FILETIME_1970 = 116444736000000000   # 100 ns steps from 1601 to 1970


def properties(data, stream):
    """{pid: offset of its typed value} of the stream's one section."""
    (section,) = struct.unpack_from("<I", data, stream + 44)
    section += stream
    _, count = struct.unpack_from("<II", data, section)
    entries = {}
    for i in range(count):
        pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * i)
        entries[pid] = section + offset
    return entries


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: msi_summary.py MSI EPOCH PACKAGE_CODE")
    path, epoch, code = sys.argv[1], int(sys.argv[2]), sys.argv[3].encode()
    data = bytearray(open(path, "rb").read())
    at = data.find(SUMMARY_FMTID)
    if at < 28 or data.find(SUMMARY_FMTID, at + 1) != -1 or data[at - 28:at - 26] != b"\xfe\xff":
        sys.exit(f"{path}: no single summary information stream")
    entries = properties(data, at - 28)
    filetime = struct.pack("<Q", FILETIME_1970 + epoch * 10_000_000)
    for pid in (PID_CREATED, PID_SAVED):
        where = entries.get(pid)
        if where is None or struct.unpack_from("<I", data, where)[0] != VT_FILETIME:
            sys.exit(f"{path}: summary property {pid} is not a time")
        data[where + 4:where + 12] = filetime
    where = entries.get(PID_REVISION)
    if where is None:
        sys.exit(f"{path}: no package code in the summary")
    kind, size = struct.unpack_from("<II", data, where)
    if kind != VT_LPSTR or size != len(code) + 1:
        sys.exit(f"{path}: the package code is not a GUID string")
    data[where + 8:where + 8 + len(code)] = code
    open(path, "wb").write(data)


if __name__ == "__main__":
    main()
