#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files' contents and the given time.

    scripts/make_zip.py OUT.zip EPOCH BASE ENTRY...

Each ENTRY is a path under BASE, stored under that name in the order given, after an entry for
its folder. Every entry has the time EPOCH (seconds since 1970, UTC), MS-DOS attributes and no
extra fields, so neither the machine, its time zone, its umask nor the file times matter.
"""

import sys
import time
import zipfile


def entry_info(name, date_time, is_folder):
    info = zipfile.ZipInfo(name, date_time)
    info.create_system = 0  # MS-DOS attributes, as a Windows player's tools expect
    info.external_attr = 0x10 if is_folder else 0x20  # directory / archive
    info.compress_type = zipfile.ZIP_STORED if is_folder else zipfile.ZIP_DEFLATED
    return info


def main():
    if len(sys.argv) < 5:
        sys.exit("usage: make_zip.py OUT.zip EPOCH BASE ENTRY...")
    out, epoch, base, entries = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4:]
    # A zip keeps local times from 1980 on, without a zone: the UTC time is written as it is.
    date_time = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
    folders = []
    with zipfile.ZipFile(out, "w") as archive:
        for name in entries:
            folder = name.rpartition("/")[0]
            if folder and folder not in folders:
                folders.append(folder)
                archive.writestr(entry_info(folder + "/", date_time, True), b"")
            with open(f"{base}/{name}", "rb") as f:
                archive.writestr(entry_info(name, date_time, False), f.read(), compresslevel=9)


if __name__ == "__main__":
    main()
