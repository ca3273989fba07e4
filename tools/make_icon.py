#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Build the Vorlith application icon from its text pixel map.

The pictures live in assets/vorlith-icon.txt, one character per pixel with a
palette legend at the top. This script turns them into:

  assets/vorlith.ico     16x16 and 32x32, each at 4 and 8 bits per pixel,
                         stored as classic DIB entries with AND masks
  assets/vorlith-16.png  RGBA
  assets/vorlith-32.png  RGBA
  assets/vorlith-48.png, -64, -128, -192, -256, -512
                         RGBA, for software centres, large launchers and
                         the web app: the 16 or 32 pixel picture enlarged
                         by a whole factor, each pixel a square block, so
                         the pixel art stays sharp
  assets/vorlith-maskable-512.png
                         opaque, on the backdrop colour: the picture enlarged
                         by a whole factor within the central circle of 80%
                         of the width, which a launcher's mask (circle,
                         squircle, rounded square) always leaves whole
  assets/vorlith-apple-180.png
                         the same for Apple's home screen, which rounds the
                         corners itself and turns transparency black

Only the Python standard library is used, and the output is byte-for-byte
the same on every run, so the generated files can be kept in git.

  python3 tools/make_icon.py           rewrite the files in assets/
  python3 tools/make_icon.py --check   rebuild into a temporary directory and
                                       fail if the files in assets/ differ
"""

from __future__ import annotations

import argparse
import struct
import sys
import tempfile
import zlib
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_SOURCE = ROOT / "assets" / "vorlith-icon.txt"
DEFAULT_OUT_DIR = ROOT / "assets"

SIZES = (16, 32)
# Larger PNGs: size -> (picture it is drawn from, whole factor).
SCALED = {48: (16, 3), 64: (32, 2), 128: (32, 4), 192: (32, 6), 256: (32, 8), 512: (32, 16)}
# Icons that fill their square with the backdrop colour: file name ->
# (size, picture it is drawn from, whole factor). The picture's drawn part
# is centred; the maskable icon's must stay within SAFE_ZONE of its width
# from the centre.
FILLED = {"vorlith-maskable-512.png": (512, 32, 11), "vorlith-apple-180.png": (180, 32, 5)}
SAFE_ZONE = 0.4
BACKDROP = "\0"  # the backdrop's pixel character, outside any legend
# (size, bits per pixel), in the order the entries appear in the .ico file.
ICO_ENTRIES = ((16, 4), (16, 8), (32, 4), (32, 8))

RGBA = tuple[int, int, int, int]


class SourceError(Exception):
    pass


@dataclass
class IconSource:
    palette: dict[str, RGBA]  # legend order is kept
    images: dict[int, list[str]]  # size -> rows, top row first
    backdrop: RGBA  # behind the icons that fill their square


# --------------------------------------------------------------------------
# Reading the pixel map


def parse_colour(text: str, where: str) -> RGBA:
    if text == "none":
        return (0, 0, 0, 0)
    if len(text) == 7 and text[0] == "#":
        try:
            value = int(text[1:], 16)
        except ValueError:
            pass
        else:
            return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF, 255)
    raise SourceError(f"{where}: colour must be #rrggbb or 'none', got {text!r}")


def parse_source(path: Path) -> IconSource:
    palette: dict[str, RGBA] = {}
    images: dict[int, list[str]] = {}
    backdrop: RGBA | None = None
    section: str | None = None
    current: list[str] = []
    current_size = 0

    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        where = f"{path.name}:{number}"
        line = raw.rstrip()
        if section == "image":
            if line == "end":
                if len(current) != current_size:
                    raise SourceError(
                        f"{where}: image {current_size}x{current_size} has "
                        f"{len(current)} rows")
                images[current_size] = current
                section = None
                continue
            if len(line) != current_size:
                raise SourceError(
                    f"{where}: row is {len(line)} pixels wide, expected {current_size}")
            unknown = sorted(set(line) - palette.keys())
            if unknown:
                raise SourceError(f"{where}: characters not in the palette: {unknown}")
            current.append(line)
            continue

        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        if section == "palette":
            if stripped == "end":
                section = None
                continue
            fields = stripped.split(None, 2)
            if len(fields) < 2 or len(fields[0]) != 1:
                raise SourceError(f"{where}: expected '<char> <colour> [name]'")
            char = fields[0]
            if char in palette:
                raise SourceError(f"{where}: {char!r} defined twice")
            palette[char] = parse_colour(fields[1], where)
            continue
        if stripped == "palette":
            section = "palette"
            continue
        if stripped.startswith("backdrop "):
            backdrop = parse_colour(stripped[len("backdrop "):].strip(), where)
            if backdrop[3] != 255:
                raise SourceError(f"{where}: the backdrop must be opaque")
            continue
        if stripped.startswith("image "):
            dims = stripped[len("image "):].split("x")
            if len(dims) != 2 or dims[0] != dims[1] or not dims[0].isdigit():
                raise SourceError(f"{where}: expected 'image NxN'")
            current_size = int(dims[0])
            if current_size not in SIZES:
                raise SourceError(f"{where}: unsupported size {current_size}")
            if current_size in images:
                raise SourceError(f"{where}: image {current_size} defined twice")
            section = "image"
            current = []
            continue
        raise SourceError(f"{where}: unexpected line {stripped!r}")

    if section is not None:
        raise SourceError(f"{path.name}: missing 'end' after {section}")
    for size in SIZES:
        if size not in images:
            raise SourceError(f"{path.name}: no {size}x{size} image")
    if backdrop is None:
        raise SourceError(f"{path.name}: no 'backdrop #rrggbb' line")
    return IconSource(palette, images, backdrop)


# --------------------------------------------------------------------------
# .ico


def indexed_palette(source: IconSource) -> tuple[list[tuple[int, int, int]], dict[str, int]]:
    """Index 0 is black and stands for every transparent pixel (the AND mask
    hides it); the opaque colours follow in legend order."""
    colours = [(0, 0, 0)]
    index: dict[str, int] = {}
    for char, (r, g, b, a) in source.palette.items():
        if a == 0:
            index[char] = 0
        elif a == 255:
            index[char] = len(colours)
            colours.append((r, g, b))
        else:
            raise SourceError(f"palette entry {char!r}: partial alpha is not supported")
    if len(colours) > 16:
        raise SourceError(f"{len(colours) - 1} opaque colours; the 4-bit icons allow 15")
    return colours, index


def dib_entry(rows: list[str], bpp: int, colours: list[tuple[int, int, int]],
              index: dict[str, int], transparent: set[str]) -> bytes:
    size = len(rows)
    xor_stride = (size * bpp + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    ncolours = 1 << bpp

    header = struct.pack(
        "<IiiHHIIiiII",
        40,            # biSize
        size,          # biWidth
        size * 2,      # biHeight: XOR image plus AND mask
        1,             # biPlanes
        bpp,           # biBitCount
        0,             # biCompression = BI_RGB
        (xor_stride + and_stride) * size,  # biSizeImage
        0, 0,          # resolution
        0, 0)          # biClrUsed, biClrImportant: full palette
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    table += b"\0" * (4 * (ncolours - len(colours)))

    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom row first
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, char in enumerate(row):
            value = index[char]
            if bpp == 8:
                line[x] = value
            else:
                line[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if char in transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    return header + table + bytes(xor) + bytes(mask)


def build_ico(source: IconSource) -> bytes:
    colours, index = indexed_palette(source)
    transparent = {c for c, rgba in source.palette.items() if rgba[3] == 0}
    blobs = [dib_entry(source.images[size], bpp, colours, index, transparent)
             for size, bpp in ICO_ENTRIES]

    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for (size, bpp), blob in zip(ICO_ENTRIES, blobs):
        out += struct.pack(
            "<BBBBHHII",
            size % 256, size % 256,
            16 if bpp == 4 else 0,  # colour count; 0 means 256 or more
            0, 1, bpp, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# --------------------------------------------------------------------------
# .png


def png_chunk(kind: bytes, data: bytes) -> bytes:
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def build_png(rows: list[str], palette: dict[str, RGBA]) -> bytes:
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter type: none
        for char in row:
            raw += bytes(palette[char])
    compressor = zlib.compressobj(9, zlib.DEFLATED, 15, 9, zlib.Z_DEFAULT_STRATEGY)
    data = compressor.compress(bytes(raw)) + compressor.flush()
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", data) + png_chunk(b"IEND", b""))


def scaled(rows: list[str], factor: int) -> list[str]:
    """Nearest-neighbour enlargement by a whole factor."""
    return [''.join(char * factor for char in row) for row in rows for _ in range(factor)]


def filled(rows: list[str], factor: int, size: int, transparent: set[str]) -> list[str]:
    """The drawn part of a picture, enlarged by a whole factor and centred on
    a square of the backdrop; its transparent pixels show the backdrop."""
    drawn = [(x, y) for y, row in enumerate(rows) for x, char in enumerate(row)
             if char not in transparent]
    left, top = min(x for x, _ in drawn), min(y for _, y in drawn)
    width = (max(x for x, _ in drawn) - left + 1) * factor
    height = (max(y for _, y in drawn) - top + 1) * factor
    if width > size or height > size:
        raise SourceError(f"the picture enlarged {factor} times does not fit {size} pixels")
    out = [[BACKDROP] * size for _ in range(size)]
    x0, y0 = (size - width) // 2, (size - height) // 2
    for x, y in drawn:
        for dy in range(factor):
            for dx in range(factor):
                out[y0 + (y - top) * factor + dy][x0 + (x - left) * factor + dx] = rows[y][x]
    return [''.join(row) for row in out]


def outside_safe_zone(rows: list[str]) -> int:
    """Number of drawn pixels with a corner outside the maskable safe zone."""
    size, limit = len(rows), (SAFE_ZONE * len(rows)) ** 2
    centre = size / 2
    return sum(1 for y, row in enumerate(rows) for x, char in enumerate(row)
               if char != BACKDROP and max((cx - centre) ** 2 + (cy - centre) ** 2
                                           for cx in (x, x + 1) for cy in (y, y + 1)) > limit)


def png_content(data: bytes) -> tuple[bytes, bytes] | None:
    """Header and decompressed pixel data of a PNG, or None if unreadable."""
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        return None
    pos, ihdr, idat = 8, b"", bytearray()
    try:
        while pos < len(data):
            (length,) = struct.unpack_from(">I", data, pos)
            kind = data[pos + 4:pos + 8]
            body = data[pos + 8:pos + 8 + length]
            pos += 12 + length
            if kind == b"IHDR":
                ihdr = body
            elif kind == b"IDAT":
                idat += body
            elif kind == b"IEND":
                break
        return ihdr, zlib.decompress(bytes(idat))
    except (struct.error, zlib.error):
        return None


# --------------------------------------------------------------------------


def build_all(source: IconSource) -> dict[str, bytes]:
    files = {"vorlith.ico": build_ico(source)}
    for size in SIZES:
        files[f"vorlith-{size}.png"] = build_png(source.images[size], source.palette)
    for size, (base, factor) in SCALED.items():
        files[f"vorlith-{size}.png"] = build_png(scaled(source.images[base], factor),
                                                 source.palette)
    transparent = {c for c, rgba in source.palette.items() if rgba[3] == 0}
    palette = {**source.palette, BACKDROP: source.backdrop}
    for name, (size, base, factor) in FILLED.items():
        rows = filled(source.images[base], factor, size, transparent)
        if "maskable" in name and outside_safe_zone(rows):
            raise SourceError(f"{name}: {outside_safe_zone(rows)} pixels outside the safe zone")
        files[name] = build_png(rows, palette)
    return files


def same_file(name: str, expected: bytes, actual: bytes) -> bool:
    if expected == actual:
        return True
    # Another zlib build may compress the same pixels into different bytes;
    # that is not a stale icon.
    if name.endswith(".png"):
        want = png_content(expected)
        return want is not None and want == png_content(actual)
    return False


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", type=Path, default=DEFAULT_SOURCE,
                        help="pixel map to read (default: %(default)s)")
    parser.add_argument("--out-dir", type=Path, default=DEFAULT_OUT_DIR,
                        help="where the icon files go (default: %(default)s)")
    parser.add_argument("--check", action="store_true",
                        help="do not write; fail if the files in --out-dir are stale")
    args = parser.parse_args(argv)

    try:
        source = parse_source(args.source)
        files = build_all(source)
    except (OSError, SourceError) as error:
        print(f"make_icon: {error}", file=sys.stderr)
        return 2

    if args.check:
        stale = []
        with tempfile.TemporaryDirectory(prefix="vorlith-icon-") as tmp:
            for name, data in files.items():
                fresh = Path(tmp) / name
                fresh.write_bytes(data)
                committed = args.out_dir / name
                if not committed.is_file():
                    stale.append(f"{committed}: missing")
                elif not same_file(name, fresh.read_bytes(), committed.read_bytes()):
                    stale.append(f"{committed}: differs from {args.source.name}")
        for message in stale:
            print(f"make_icon: {message}", file=sys.stderr)
        if stale:
            print("make_icon: run 'python3 tools/make_icon.py' to regenerate",
                  file=sys.stderr)
            return 1
        print(f"make_icon: {len(files)} files up to date")
        return 0

    args.out_dir.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        target = args.out_dir / name
        if target.is_file() and target.read_bytes() == data:
            continue
        target.write_bytes(data)
        print(f"make_icon: wrote {target}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
