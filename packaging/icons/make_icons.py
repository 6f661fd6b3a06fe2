#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Tornel developers
"""Writes the program's icon as PNGs, a Windows .ico and a macOS .icns.

The PNGs serve the desktop's icon theme (16 to 128 px) and the web page (192 and 512 px, and
a maskable 512 px one that an installed web app's launcher may cut into its own shape).

The die is the one in tornel.svg and qt/program_icon.cpp: a yellow face with a
black border and five red square pips. Each size is drawn straight onto whole
pixels instead of scaling the SVG, so that 16 and 48 px stay sharp: at 16, 32
and 48 px the pixels equal those the program draws, at 32, 64 and 128 px those
of the SVG. Output is byte-for-byte reproducible, so the committed files can be
checked against a fresh run (tests/packaging/).

Usage: make_icons.py [--check] [OUTPUT_ROOT]   (default: the packaging/ folder)
With --check nothing is written: the exit status tells whether the files differ.
"""
import struct
import sys
import zlib
from pathlib import Path

FACE = (255, 255, 0, 255)
PIPS = (255, 0, 0, 255)
BORDER = (0, 0, 0, 255)
FIVE = ((0.25, 0.25), (0.75, 0.25), (0.5, 0.5), (0.25, 0.75), (0.75, 0.75))
HICOLOR_SIZES = (16, 32, 48, 64, 128)
# What a browser asks of an installable web page (web/manifest.webmanifest.in).
WEB_SIZES = (192, 512)


def die(size):
    """Rows of RGBA pixels of the die at one size."""
    border = max(1, size // 32)
    pip = round(3 * size / 16)
    rows = [[FACE] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if min(x, y) < border or max(x, y) >= size - border:
                rows[y][x] = BORDER
    for fx, fy in FIVE:
        left, top = round(fx * size) - pip // 2, round(fy * size) - pip // 2
        for y in range(top, top + pip):
            for x in range(left, left + pip):
                rows[y][x] = PIPS
    return rows


def maskable(size):
    """The die inside the middle of a full square of its face colour: a launcher may cut any
    shape from the square, and keeps at least the circle of 80% of its width, which holds
    the die whole."""
    inner = round(size * 0.56)
    offset = (size - inner) // 2
    rows = [[FACE] * size for _ in range(size)]
    for y, row in enumerate(die(inner)):
        rows[offset + y][offset:offset + inner] = row
    return rows


def png(size, draw=die):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))

    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in draw(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(sizes):
    """PNG-compressed images in an .ico, which every system that Qt 6 runs on reads."""
    images = [png(s) for s in sizes]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def icns():
    kinds = ((b"icp4", 16), (b"icp5", 32), (b"ic11", 32), (b"icp6", 64), (b"ic12", 64),
             (b"ic07", 128), (b"ic08", 256), (b"ic13", 256), (b"ic09", 512), (b"ic14", 512))
    body = b"".join(kind + struct.pack(">I", 8 + len(data)) + data
                    for kind, data in ((k, png(s)) for k, s in kinds))
    return b"icns" + struct.pack(">I", 8 + len(body)) + body


def main():
    arguments = sys.argv[1:]
    check = bool(arguments) and arguments[0] == "--check"
    arguments = arguments[1:] if check else arguments
    root = Path(arguments[0]) if arguments else Path(__file__).resolve().parent.parent
    outputs = {f"icons/tornel-{s}.png": png(s) for s in HICOLOR_SIZES + WEB_SIZES}
    outputs["icons/tornel-maskable-512.png"] = png(512, maskable)
    outputs["windows/tornel.ico"] = ico((16, 32, 48, 64, 128, 256))
    outputs["macos/tornel.icns"] = icns()
    stale = []
    for name, data in outputs.items():
        path = root / name
        if check:
            if not path.is_file() or path.read_bytes() != data:
                stale.append(name)
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    for name in stale:
        print(f"{name} differs from what {Path(__file__).name} draws")
    return 1 if stale else 0

if __name__ == "__main__":
    sys.exit(main())
