#!/usr/bin/env python3
"""Writes a .reg file that makes a Wine prefix look like a Simplified
Chinese Windows desktop: the menu, message, status and caption fonts are
Microsoft YaHei UI at 9 pt (at 96 DPI), as on a Chinese Windows 10 or 11,
and Wine draws that face with WenQuanYi Micro Hei, whose metrics are close.

usage: chinese-desktop.py FILE.reg
"""
import struct
import sys

FACE = "Microsoft YaHei UI"


def logfont(face, height_px, weight=400):
    name = face.encode("utf-16-le").ljust(64, b"\0")
    # LOGFONTW: five LONGs, eight BYTEs (GB2312 character set), 32 WCHARs.
    return struct.pack("<5l8B", -height_px, 0, 0, 0, weight, 0, 0, 0, 134, 0, 0, 5, 0) + name


def reg_hex(data):
    return "hex:" + ",".join(f"{b:02x}" for b in data)


lines = ["REGEDIT4", "", r"[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]"]
for value in ("MenuFont", "MessageFont", "StatusFont", "SmCaptionFont"):
    lines.append(f'"{value}"={reg_hex(logfont(FACE, 12))}')
lines.append(f'"CaptionFont"={reg_hex(logfont(FACE, 12, 700))}')
lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]"]
for face in (FACE, "Microsoft YaHei", "SimSun", "Tahoma", "MS Shell Dlg", "MS Shell Dlg 2"):
    lines.append(f'"{face}"="WenQuanYi Micro Hei"')
with open(sys.argv[1], "w", encoding="ascii", newline="\r\n") as out:
    out.write("\n".join(lines) + "\n")
