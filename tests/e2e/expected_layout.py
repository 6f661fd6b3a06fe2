"""The window as players must find it when it has just opened: every control's caption, place
and size in twips, visibility, background, border, alignment and font, written down here from
the game's own description of its window, apart from the program's control table, so that a
wrong row in that table shows up as a difference in the real window.

Each front-end's end-to-end tests read this module: the Qt window under X11 and the Win32
window under Wine.
"""
from collections import namedtuple

Control = namedtuple("Control", "name kind caption left top width height visible background border align font")

YELLOW, GREEN, CYAN, WHITE, MAGENTA = (255, 255, 0), (0, 255, 0), (0, 255, 255), (255, 255, 255), (255, 0, 255)
LARGE, DEFAULT = "18 pt", "default"      # the large face of the game, or the window's own small font
WINDOW_CAPTION = "Form1"
CLIENT_TWIPS = (5265, 4335)
TWIPS_PER_PIXEL_AT_96_DPI = 15

# Two blanks after "108." belong to the text.
INSTRUCTIONS = ("This is the game of tornel, for two people. It is also a harder version! In the point values, "
                "they will be multiplied. For example, a 3-3-3-3 will be 36x3 points, or 108.  If you are very "
                "lucky you can get a 1-2-3-4-5-6 worth 100 points. Good luck! And also remember, this is for two "
                "players. You can always do it yourself for fun. :) The turn counter will finish the game when "
                "50 turns are done.")

CONTROLS = [
    Control('Die(1)', 'label', "#", 0, 0, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(2)', 'label', "#", 480, 0, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(3)', 'label', "#", 0, 480, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(4)', 'label', "#", 480, 480, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(5)', 'label', "#", 0, 960, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(6)', 'label', "#", 480, 960, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(7)', 'label', "#", 4320, 0, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(8)', 'label', "#", 4800, 0, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(9)', 'label', "#", 4320, 480, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(10)', 'label', "#", 4800, 480, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(11)', 'label', "#", 4320, 960, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Die(12)', 'label', "#", 4800, 960, 495, 495, True, YELLOW, 'single', 'centre', LARGE),
    Control('Points(1)', 'label', "Points", 960, 0, 1695, 495, True, GREEN, 'single', 'centre', LARGE),
    Control('Points(2)', 'label', "Points", 2640, 0, 1695, 495, True, GREEN, 'single', 'centre', LARGE),
    Control('Score(1)', 'label', "0", 960, 480, 1695, 495, True, GREEN, 'single', 'centre', LARGE),
    Control('Score(2)', 'label', "0", 2640, 480, 1695, 495, True, GREEN, 'single', 'centre', LARGE),
    Control('Gain(1)', 'label', "0", 960, 960, 1695, 495, True, CYAN, 'single', 'centre', LARGE),
    Control('Gain(2)', 'label', "0", 2640, 960, 1695, 495, True, CYAN, 'single', 'centre', LARGE),
    Control('Pair(1)', 'label', "Pair", 0, 1440, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Triple(1)', 'label', "Triple", 0, 1920, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Quad(1)', 'label', "Quad", 0, 2400, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Quint(1)', 'label', "Quint", 0, 2880, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Tornel(1)', 'label', "Tornel", 0, 3360, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Pair(2)', 'label', "Pair", 3840, 1440, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Triple(2)', 'label', "Triple", 3840, 1920, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Quad(2)', 'label', "Quad", 3840, 2400, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Quint(2)', 'label', "Quint", 3840, 2880, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Tornel(2)', 'label', "Tornel", 3840, 3360, 1455, 495, True, WHITE, 'none', 'centre', LARGE),
    Control('Roll(1)', 'button', "Roll", 0, 3840, 1215, 495, True, None, None, None, LARGE),
    Control('Roll(2)', 'button', "Roll", 4080, 3840, 1215, 495, False, None, None, None, LARGE),
    Control('Turn', 'label', "Turn", 1200, 3840, 1455, 495, True, None, 'single', 'centre', LARGE),
    Control('NumTurns', 'label', "0", 2640, 3840, 1455, 495, True, None, 'single', 'centre', LARGE),
    Control('Instructions', 'label', INSTRUCTIONS, 1440, 1440, 2415, 2415, True, MAGENTA, 'none', 'left', DEFAULT),
    Control('L2', 'label', "0", 0, 1560, 195, 195, False, WHITE, 'single', 'left', DEFAULT),
    Control('L3', 'label', "0", 0, 2040, 195, 195, False, WHITE, 'single', 'left', DEFAULT),
    Control('L4', 'label', "0", 0, 2520, 195, 195, False, WHITE, 'single', 'left', DEFAULT),
    Control('L5', 'label', "0", 0, 3120, 195, 195, False, WHITE, 'single', 'left', DEFAULT),
    Control('L6', 'label', "0", 0, 3480, 195, 195, False, WHITE, 'single', 'left', DEFAULT),
]
BY_NAME = {c.name: c for c in CONTROLS}


def pixels(twips, dpi=96):
    """Twips to pixels at a density, rounding each edge."""
    return int(twips * dpi / 1440 + 0.5)


def pixel_rect(control, dpi=96):
    """(x, y, width, height) of a control in client pixels; edges are rounded, not sizes."""
    x, y = pixels(control.left, dpi), pixels(control.top, dpi)
    return (x, y, pixels(control.left + control.width, dpi) - x, pixels(control.top + control.height, dpi) - y)
