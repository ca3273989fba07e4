#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Zips the files of a folder so that the same files always give the same
bytes: names in byte order, every entry dated SOURCE_DATE_EPOCH (UTC), with
the same attributes, compressed with the same settings. With TOP, every
entry is inside one folder of that name, as the zip unpacks.

Its .txt files are for Windows: they get CRLF line ends, and those that are
not plain ASCII UTF-8's byte-order mark. Notepad before Windows 10 1809
shows a text with LF line ends as one long line, and may read UTF-8 without
the mark as the code page's characters.

usage: reproducible_zip.py OUT.zip FOLDER [TOP]   (SOURCE_DATE_EPOCH must be set)
"""
import os
import sys
import time
import zipfile


def windows_text(data: bytes) -> bytes:
    lines = data.replace(b"\r\n", b"\n").split(b"\n")
    text = b"\r\n".join(lines)
    if not data.isascii() and not data.startswith(b"\xef\xbb\xbf"):
        text = b"\xef\xbb\xbf" + text
    return text


def main(out: str, folder: str, top: str = "") -> int:
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch or not epoch.isdigit():
        print("reproducible_zip: SOURCE_DATE_EPOCH is not set", file=sys.stderr)
        return 2
    # Zip dates are local times of 2-second steps from 1980 on.
    date_time = time.gmtime(max(int(epoch), 315532800))[:6]
    names = sorted((os.path.relpath(os.path.join(top, name), folder).replace(os.sep, "/")
                    for top, _, files in os.walk(folder) for name in files),
                   key=lambda name: name.encode())
    with zipfile.ZipFile(out, "w") as archive:
        for name in names:
            entry = zipfile.ZipInfo(f"{top}/{name}" if top else name, date_time)
            entry.create_system = 3  # Unix, with these permissions:
            entry.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            if name.endswith(".txt"):
                data = windows_text(data)
            archive.writestr(entry, data, compresslevel=9)
    return 0


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
