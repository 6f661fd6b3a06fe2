#!/usr/bin/python3
"""Makes docs/window-light.png and docs/window-dark.png: the window after player 1's first
roll, under the toolkit's own light colours and under qt6ct's "darker" scheme, in a private
X server.

Usage: docs/make_screenshots.py PATH_TO_TORNEL   (with Debian's /usr/bin/python3 and qt6ct)
"""
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import xsession as xs  # noqa: E402


def shoot(binary, name):
    with xs.Session(binary) as s:
        win = s.wait_window("Form1")
        x, y, w, h = xs.ROLL[1]
        s.settled_shot(win)
        s.click(win, x + w // 2, y + h // 2)
        s.settled_shot(win, lambda shot: xs.roll_shown(shot, 2)).save_png(os.path.join(HERE, name))


def main():
    shoot(sys.argv[1], "window-light.png")
    with tempfile.TemporaryDirectory() as config:
        os.makedirs(os.path.join(config, "qt6ct"))
        with open(os.path.join(config, "qt6ct", "qt6ct.conf"), "w") as f:
            f.write("[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\n")
        os.environ.update(QT_QPA_PLATFORMTHEME="qt6ct", XDG_CONFIG_HOME=config)
        shoot(sys.argv[1], "window-dark.png")


if __name__ == "__main__":
    main()
