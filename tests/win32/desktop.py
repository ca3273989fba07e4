#!/usr/bin/env python3
"""Writes a .reg file that makes a Wine prefix look like the desktop of a
Windows 10 or 11 in Simplified Chinese (zh: the menu, message, status and
caption fonts are Microsoft YaHei UI at 9 pt, at 96 DPI) or in English (en:
Segoe UI at 9 pt, where a program has to find a Chinese face itself). Wine
draws all of these faces with WenQuanYi Micro Hei, whose metrics are close.

usage: desktop.py FILE.reg zh|en
"""
import struct
import sys

FACES = {"zh": ("Microsoft YaHei UI", 134), "en": ("Segoe UI", 0)}  # face, character set


def logfont(face, charset, height_px, weight=400):
    name = face.encode("utf-16-le").ljust(64, b"\0")
    # LOGFONTW: five LONGs, eight BYTEs, 32 WCHARs.
    return struct.pack("<5l8B", -height_px, 0, 0, 0, weight, 0, 0, 0, charset, 0, 0, 5, 0) + name


def reg_hex(data):
    return "hex:" + ",".join(f"{b:02x}" for b in data)


path, language = sys.argv[1], sys.argv[2]
face, charset = FACES[language]
lines = ["REGEDIT4", "", r"[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]"]
for value in ("MenuFont", "MessageFont", "StatusFont", "SmCaptionFont"):
    lines.append(f'"{value}"={reg_hex(logfont(face, charset, 12))}')
lines.append(f'"CaptionFont"={reg_hex(logfont(face, charset, 12, 700))}')
lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]"]
for replaced in ("Microsoft YaHei UI", "Microsoft YaHei", "Segoe UI", "SimSun", "Tahoma",
                 "MS Shell Dlg", "MS Shell Dlg 2"):
    lines.append(f'"{replaced}"="WenQuanYi Micro Hei"')
with open(path, "w", encoding="ascii", newline="\r\n") as out:
    out.write("\n".join(lines) + "\n")
