#!/usr/bin/python3
"""A picture of the window after player 1's roll, with dice and lit categories, saved as PNG
and read back.

Usage: test_screenshot.py PATH_TO_TORNEL [PNG_PATH]
  PNG_PATH defaults to screenshot.png in $E2E_ARTIFACTS (or the temporary directory);
  exit status 0 when every check passed.
"""
import os
import struct
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402


def read_png(path):
    """(width, height, RGB bytes) of the 8-bit RGB PNG with unfiltered rows that Shot.save_png
    writes; raises ValueError for anything else, or for a chunk cut short or with a wrong CRC."""
    with open(path, "rb") as f:
        data, chunks, pos = f.read(), {}, 8
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body, crc = data[pos + 8:pos + 8 + length], data[pos + 8 + length:pos + 12 + length]
        if crc != struct.pack(">I", zlib.crc32(kind + body)):
            raise ValueError(f"chunk {kind!r} is cut short or has a wrong CRC")
        chunks.setdefault(kind, []).append(body)
        pos += 12 + length
    width, height, *form = struct.unpack(">IIBBBBB", chunks[b"IHDR"][0])
    rows, stride = zlib.decompress(b"".join(chunks[b"IDAT"])), 1 + 3 * width
    if form != [8, 2, 0, 0, 0] or b"IEND" not in chunks or len(rows) != height * stride or any(rows[::stride]):
        raise ValueError(f"not {height} unfiltered 8-bit RGB rows of {width} pixels, ended by IEND")
    return width, height, b"".join(rows[r * stride + 1:(r + 1) * stride] for r in range(height))


def lit(shot):
    """Player 1's categories that are no longer white."""
    return [c for c in xs.CATEGORIES if xs.background(shot, xs.LABELS[f"{c}(1)"][0]) != xs.WHITE]


def test(check, binary):
    path = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        os.environ.get("E2E_ARTIFACTS") or tempfile.gettempdir(), "screenshot.png")
    with xs.Session(binary) as s:
        win = s.wait_window("Form1")
        s.settled_shot(win)

        def roll(player):
            x, y, w, h = xs.ROLL[player]
            s.click(win, x + w // 2, y + h // 2)
            return s.settled_shot(win, lambda sh: xs.roll_shown(sh, 3 - player),
                                  what=f"Roll({3 - player}) after Roll({player})")
        shot = roll(1)
        for _ in range(5):      # a straight lights nothing (1 roll in 65): roll again for a picture with colour
            if lit(shot):
                break
            roll(2)
            shot = roll(1)
        check(lit(shot), "player 1's roll lit at least one category", "six straights in a row")
        if os.path.exists(path):
            os.remove(path)
        shot.save_png(path)
        print(f"     picture: {path}")
        try:
            width, height, rgb = read_png(path)
        except (OSError, ValueError, KeyError, struct.error, zlib.error) as e:
            check(False, "the file is a whole PNG image", f"{type(e).__name__}: {e}")
            return
        check((width, height) == xs.WINDOW_SIZE, "the picture is 351 x 289", f"{width} x {height}")
        same = rgb == bytes(v for y in range(shot.height) for x in range(shot.width) for v in shot.pixel(x, y))
        check(same, "the picture holds the window's pixels")
        s.check_close_ends_cleanly(check, win)


if __name__ == "__main__":
    xs.main(test, time_limit=60, usage_tail=" [PNG_PATH]")
