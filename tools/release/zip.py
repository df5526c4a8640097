#!/usr/bin/env python3
"""zip.py OUT.zip EPOCH FILE...: a zip whose bytes depend only on the files'
contents, their order and EPOCH: each entry is the file's base name, stamped
with EPOCH (UTC), with no owner, permissions or extra fields from this machine."""
import sys
import time
import zipfile


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: zip.py OUT.zip EPOCH FILE...")
    out, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    stamp = time.gmtime(epoch)[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for path in files:
            entry = zipfile.ZipInfo(path.rsplit("/", 1)[-1], date_time=stamp)
            entry.create_system = 0          # MS-DOS: no Unix mode bits
            entry.external_attr = 0
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)


if __name__ == "__main__":
    main()
