#!/usr/bin/python3
"""A picture of the window after player 1's roll, with dice and lit categories, saved as PNG.

Usage: test_screenshot.py PATH_TO_TORNEL [PNG_PATH]
  PNG_PATH defaults to screenshot.png in $E2E_ARTIFACTS (or the temporary directory);
  exit status 0 when every check passed.
"""
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402


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
        shot.save_png(path)
        print(f"     picture: {path}")
        check((shot.width, shot.height) == xs.WINDOW_SIZE, "the picture is 351 x 289",
              f"{shot.width} x {shot.height}")
        s.check_close_ends_cleanly(check, win)


if __name__ == "__main__":
    xs.main(test, time_limit=60, usage_tail=" [PNG_PATH]")
