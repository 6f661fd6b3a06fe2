#!/usr/bin/python3
"""The Windows build under Wine, a busy loop on every core: the opening window, a whole game played
with clicks and keys (two held down), the result box, the fresh window, closing; a failed click
ending the program; the window's own lifetime; and the window at 144 dpi.

Usage: test_game.py PATH_TO_TORNEL_EXE   (exit status 0 when every check passed)
Environment: TORNEL_WIN32_DRIVER, the test driver's exe; WINEPREFIX, the prefix both run in;
TORNEL_WIN32_WINDOW_TESTS, the window's lifetime tests.
"""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import expected_layout as layout  # noqa: E402
import xsession as xs  # noqa: E402
from scoring import result_message  # noqa: E402

WS_VISIBLE, WS_BORDER, WS_TABSTOP, SS_TYPEMASK, SS_CENTER, BS_DEFPUSHBUTTON = (
    0x10000000, 0x00800000, 0x00010000, 0x1F, 0x1, 0x1)
# The control IDs of the window: each member's ID carries its Index.
ID_BASES = {"Roll": 100, "Die": 200, "Points": 300, "Score": 310, "Gain": 320, "Pair": 400, "Triple": 410,
            "Quad": 420, "Quint": 430, "Tornel": 440, "Turn": 500, "NumTurns": 510, "Instructions": 520,
            "L2": 602, "L3": 603, "L4": 604, "L5": 605, "L6": 606}
ROUNDS = 50
KEY_TURNS = ("held Return", "held space", "space", "Return")     # held: down for one second
ESCAPE_AFTER_TURN = 7
# Wine shows each control's paint as it comes once the game has not waited for input for 50 ms, and
# with every core busy the game may wait some hundred ms for a core before or amid the reload's paint.
FRESH_GAME_LIMIT = 1.0


def control_id(name):
    member = re.fullmatch(r"(\w+)\((\d+)\)", name)
    return ID_BASES[member[1]] + int(member[2]) if member else ID_BASES[name]


class Window:
    """The game's controls as the driver reads them, by name."""

    def __init__(self, answer):
        self.focus, self.defid = answer["focus"], answer["defid"]
        self.by_id = {c["id"]: c for c in answer["controls"]}

    def __getitem__(self, name):
        return self.by_id[control_id(name)]

    def text(self, name):
        return self[name]["text"]

    def shown(self, name):
        return bool(self[name]["style"] & WS_VISIBLE)

    def number(self, name):
        return int(self.text(name))


def read(s):
    return Window(s.ask("controls"))


def settled(s, ready, what, timeout=10):
    """The controls once ready(window) holds, read once more: a read that sees the turn begun
    may have read some controls before it, and the next read waits for the game to finish it."""
    xs.wait_for(lambda: ready(read(s)), timeout, what, step=0.02)
    return read(s)


def opening_faults(s, win):
    """How the window differs from its opening state once it has settled (at most 5 s)."""
    try:
        xs.wait_for(lambda: not window_faults(s, win), 5, "the opening state", step=0.2)
        return []
    except TimeoutError:
        return window_faults(s, win)


def window_faults(s, win):
    """How the window differs from its opening state: controls, IDs, captions, rects,
    visibility, borders, alignment, tab stops, and the colours on the screen."""
    w = read(s)
    faults = [] if len(w.by_id) == len(layout.CONTROLS) else [f"{len(w.by_id)} controls"]
    colours = {}
    for c in layout.CONTROLS:
        got = w.by_id.get(control_id(c.name))
        if got is None:
            faults.append(f"no control with the ID {control_id(c.name)} of {c.name}")
            continue
        style, label = got["style"], c.kind == "label"
        seen = (got["class"], got["text"], tuple(got["rect"]), bool(style & WS_VISIBLE), bool(style & WS_TABSTOP))
        wanted = ("Static" if label else "Button", c.caption, layout.pixel_rect(c), c.visible, not label)
        if label:
            seen += (bool(style & WS_BORDER), style & SS_TYPEMASK)
            wanted += (c.border == "single", SS_CENTER if c.align == "centre" else 0)
        if seen != wanted:
            faults.append(f"{c.name} is {seen}, not {wanted}")
        if label and c.visible and c.background:
            colours[c.name] = (layout.pixel_rect(c), c.background)

    shot = s.shot(win)
    return faults + [f"{n} is {xs.background(shot, r)}, not {want}" for n, (r, want) in colours.items()
                     if xs.background(shot, r) != want]


def turn_faults(s, win, before, after, player, score, patience):
    """What a turn of player did wrong, against the rule of a roll; score is our own tally;
    patience: how long to wait for the turn's colours to be painted."""
    other, first, other_first = 3 - player, 1 + 6 * (player - 1), 7 - 6 * (player - 1)
    dice = [after.text(f"Die({first + j})") for j in range(6)]
    if not all(d in "123456" and len(d) == 1 for d in dice):
        return [f"player {player} threw {dice}"]
    dice = [int(d) for d in dice]
    gain = xs.gain_of(dice)
    score[player] += gain
    faults = []
    seen = (after.number(f"Gain({player})"), after.number(f"Score({player})"),
            after.text(f"Score({other})"), after.shown(f"Roll({player})"), after.shown(f"Roll({other})"),
            [after.text(f"Die({other_first + j})") for j in range(6)])
    wanted = (gain, score[player], before.text(f"Score({other})"), False, True, ["#"] * 6)
    if seen != wanted:
        faults.append(f"player {player} threw {dice}: (Gain, Score, other Score, Roll({player}), "
                      f"Roll({other}), other dice) are {seen}, not {wanted}")
    turns = before.number("NumTurns") + (player == 2)
    if after.number("NumTurns") != turns:
        faults.append(f"NumTurns {after.text('NumTurns')} after {turns} rounds")
    colours = {f"{c}({player})": xs.HIGHLIGHTS[c] if c in xs.lit_categories(dice) else xs.WHITE
               for c in xs.CATEGORIES}
    if player == 2 and turns < ROUNDS:
        g1, g2 = after.number("Gain(1)"), after.number("Gain(2)")
        colours.update({"Gain(1)": xs.CYAN if g1 == g2 else xs.GREEN if g1 > g2 else xs.RED,
                        "Gain(2)": xs.CYAN if g1 == g2 else xs.GREEN if g2 > g1 else xs.RED})

    def colour_faults():
        shot = s.shot(win)
        return [f"{n} is {xs.background(shot, xs.LABELS[n][0])}, not {c}" for n, c in colours.items()
                if xs.background(shot, xs.LABELS[n][0]) != c]
    try:
        xs.wait_for(lambda: not colour_faults(), patience, "the colours of the turn")
    except TimeoutError:
        faults.append(f"after {dice}: " + "; ".join(colour_faults()))
    return faults


def focus_faults_of(w, player):
    """How the focus and the default button differ from Roll(player) alone."""
    seen = (w.focus, w.defid, [bool(w[f"Roll({p})"]["style"] & BS_DEFPUSHBUTTON) for p in (1, 2)])
    wanted = (100 + player, 100 + player, [player == 1, player == 2])
    return [] if seen == wanted else [f"(focus, default ID, default styles) are {seen}, not {wanted}"]


def escape_check(check, s, win, before):
    """Escape in the game's window is no input of the game."""
    s.key(win, "Escape")
    time.sleep(0.3)
    answer = s.ask("controls")
    w = Window(answer) if "controls" in answer else None
    check(w and (w.by_id, w.focus, w.defid, s.ask("boxes")["boxes"]) == (before.by_id, before.focus, before.defid, [])
          and s.running(), "Escape mid-game changes no caption, no Roll button, no focus and shows no box",
          str(answer)[:200])


def play(check, s, win):
    """A whole game: four turns with keys, the rest with clicks on the showing Roll button.
    Returns our own tally of the scores and the window as the result box shows."""
    score, faults, focus_faults = {1: 0, 2: 0}, [], []
    before = read(s)
    for click in range(2 * ROUNDS):
        player, other = 1 + click % 2, 2 - click % 2
        how = f" ({KEY_TURNS[click]})" if click < len(KEY_TURNS) else " (mouse)"
        if click < len(KEY_TURNS):
            (s.hold if KEY_TURNS[click].startswith("held") else s.key)(win, KEY_TURNS[click].split()[-1])
        else:
            x, y, w, h = layout.pixel_rect(layout.BY_NAME[f"Roll({player})"])
            s.click(win, x + w // 2, y + h // 2)
        if click == 2 * ROUNDS - 1:
            xs.wait_for(lambda: s.windows(xs.MESSAGE_TITLE), 10, "the result box")
            after = settled(s, lambda w: True, "the window behind the result box")
        else:
            after = settled(s, lambda w: w.shown(f"Roll({other})") or w.text("NumTurns") != before.text("NumTurns"),
                            f"Roll({other}) after turn {click + 1}")
        faults += turn_faults(s, win, before, after, player, score, 0.3 if faults else 3)
        if click < 2 * ROUNDS - 1:      # the showing Roll button has the focus and is the default
            focus_faults += [f"after turn {click + 1}{how}: {f}" for f in focus_faults_of(after, other)]
        if click < len(KEY_TURNS):      # and Tab leaves it so
            s.key(win, "Tab")
            focus_faults += [f"Tab after turn {click + 1}: {f}"
                             for f in focus_faults_of(settled(s, lambda w: True, "the focus after Tab"), other)]
        if click == ESCAPE_AFTER_TURN - 1:
            escape_check(check, s, win, after)
        before = after
    check(not focus_faults, "after every turn, of keys or the mouse, the showing Roll has the focus and is "
          "the default button (its style and DM_GETDEFID); Tab keeps it so", "; ".join(focus_faults[:4]))
    check(not faults, f"{2 * ROUNDS} turns, a held Return and a held Space one each: dice, gains, scores, "
          "highlights, Gain colours, NumTurns and the Roll button passing over, against the rule of a roll",
          "; ".join(faults[:4]))
    return score, after


def test_game(check, binary):
    with xs.WineSession(binary, os.environ["TORNEL_WIN32_DRIVER"], os.environ["WINEPREFIX"], busy=True) as s:
        win = s.wait_window("Form1", timeout=60)
        found = xs.wait_for(lambda: "hwnd" in (f := s.ask("find")) and f, 10, "the window through the driver")
        check((found["client"], found["dpi"], s.geometry(win)[2:]) == ([351, 289], 96, (351, 289)),
              "the client area of Form1 is 351 x 289 at 96 dpi", str(found))
        faults = opening_faults(s, win)
        check(not faults, "every control opens with its ID, caption, rect, visibility, border, alignment, "
              "tab stop and colour", "; ".join(faults[:4]))
        opening = s.settled_shot(win)
        w = read(s)
        check(not focus_faults_of(w, 1), "Roll(1) has the focus at the start and is the default",
              "; ".join(focus_faults_of(w, 1)))

        score, last = play(check, s, win)
        boxes = s.ask("boxes")["boxes"]
        expected = {"title": xs.MESSAGE_TITLE, "text": result_message(score[1], score[2]), "buttons": ["OK"], "icon": False,
                    "owned_by_form": True}
        check(boxes == [expected], "one result box: title, the result of our own tally, OK only, no icon, "
              "owned by the window", f"{boxes} against {expected}")
        check([last.number("Score(1)"), last.number("Score(2)")] == [score[1], score[2]],
              "the Score labels agree with the result", str([last.text("Score(1)"), last.text("Score(2)")]))

        x, y, width, height = layout.pixel_rect(layout.BY_NAME["Roll(1)"])
        for _ in range(3):
            s.click(win, x + width // 2, y + height // 2)
        s.close(win)
        time.sleep(0.5)
        check(read(s).by_id == last.by_id and len(s.ask("boxes")["boxes"]) == 1 and s.running(),
              "clicks and a close on the window change nothing while the result box is open")

        # Two more game ends, cheaply: the round counter set to 49 before a round.
        times, faults = [], []
        for game in range(3):
            if game:
                s.ask("settext 510 49")
                for player in (1, 2):
                    x, y, width, height = layout.pixel_rect(layout.BY_NAME[f"Roll({player})"])
                    s.click(win, x + width // 2, y + height // 2)
                    settled(s, lambda w: w.shown(f"Roll({3 - player})") or s.windows(xs.MESSAGE_TITLE), "a turn")
            box, last = s.wait_window(xs.MESSAGE_TITLE), s.settled_shot(win)
            start = time.monotonic()        # before xdotool starts: the figure is an upper bound
            s.key(box, "Return")
            seen, more = fresh_game_times(s, win, opening, last, start)
            times.append(seen.get("whole", 5) - seen.get("box gone", 0))
            faults += more
            print(f"fresh game {game + 1}: ms after the Enter {({k: round(v * 1000) for k, v in seen.items()})}; "
                  f"whole {times[-1] * 1000:.0f} ms after the result box left the screen")
        # Wine without a window manager keeps the box's window on screen for 2 s after the Enter,
        # inside the system's message box: its X11 driver waits for a window manager to see the
        # box go. The game's own part starts when the box is gone.
        check(max(times) <= FRESH_GAME_LIMIT and not faults,
              f"within {FRESH_GAME_LIMIT * 1000:.0f} ms of the result box leaving the screen, the same window "
              f"shows the opening state on the screen whole (painted half {xs.HALF_PAINTED_LIMIT * 1000:.0f} ms "
              "at most), Roll(1) with its caption, never unmapped, in place; the driver reads it, focus and "
              "default on Roll(1)", f"{[round(t * 1000) for t in times]} ms; " + "; ".join(faults[:4]))
        check(s.running() and not s.windows(xs.MESSAGE_TITLE), "Enter answers the result box, the program runs on")
        faults = opening_faults(s, win)
        check(not faults, "the fresh window is as the first one", "; ".join(faults[:4]))
        s.check_close_ends_cleanly(check, win)


def fresh_game_times(s, win, opening, last, start, timeout=5):
    """Seconds from start until the result box's window has left the screen ("box gone"), the X
    picture of the window shows the opening state ("whole": labels as in the opening picture, only
    Roll(1) drawn, with its caption) and the driver reads it ("driver"); and what went wrong meanwhile."""
    def opening_read():
        w = read(s)
        return (not focus_faults_of(w, 1) and w.shown("Roll(1)") and not w.shown("Roll(2)")
                and all(w.text(c.name) == c.caption for c in layout.CONTROLS))

    def opening_shot(shot):
        return (all(shot.region(*xs.inside(r)) == opening.region(*xs.inside(r)) for r, _ in xs.LABELS.values())
                and xs.roll_shown(shot, 1) and not xs.roll_shown(shot, 2))

    seen, faults = xs.watch_fresh_window(s, win, last, opening_shot, start, timeout)
    xs.wait_for(opening_read, timeout, "the opening state through the driver", step=0.02)
    return {**seen, "driver": time.monotonic() - start}, faults


def test_error_exit(check, binary):
    with xs.WineSession(binary, os.environ["TORNEL_WIN32_DRIVER"], os.environ["WINEPREFIX"]) as s:
        win = s.wait_window("Form1", timeout=60)
        check(s.ask("settext 311 abc") == {"ok": True}, "the driver sets Score(1) to abc")
        x, y, w, h = layout.pixel_rect(layout.BY_NAME["Roll(1)"])
        s.click(win, x + w // 2, y + h // 2)
        box = s.wait_window(xs.MESSAGE_TITLE)
        boxes = s.ask("boxes")["boxes"]
        text = boxes[0]["text"] if len(boxes) == 1 else ""
        check(len(boxes) == 1 and "type mismatch" in text and "Score(1)" in text,
              "a failed click shows one box naming a type mismatch and Score(1)", str(boxes))
        s.key(box, "Return")
        status = s.wait_exit(20)
        check(status == 1, "after OK the program ends with status 1", f"status {status}")


def test_window_lifetime(check):
    """The window's own tests (tests/win32/window_lifetime_test.cpp), on a display of their own."""
    with xs.WineSession(os.environ["TORNEL_WIN32_WINDOW_TESTS"], os.environ["TORNEL_WIN32_DRIVER"],
                        os.environ["WINEPREFIX"]) as s:
        status = s.wait_exit(60)
    check(status == 0, "the window is forgotten when the player closes it, a failed load leaves no window, "
          "the object then ends cleanly; a reload leaves nothing to paint", f"status {status}: run the exe")


def test_high_dpi(check, binary):
    """The window at 144 dpi, in a prefix of its own whose desktop has that density."""
    prefix, driver = os.environ["WINEPREFIX"] + "-144dpi", os.environ["TORNEL_WIN32_DRIVER"]
    subprocess.run([xs.WINE_RUN, prefix, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", "144", "/f"], check=True, timeout=120,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # The setting is read at start; the game must not join a server started without a display.
    subprocess.run(["wineserver", "-w"], env=dict(os.environ, WINEPREFIX=prefix), timeout=60)
    with xs.WineSession(binary, driver, prefix) as s:
        s.wait_window("Form1", timeout=60)
        found = xs.wait_for(lambda: "hwnd" in (f := s.ask("find")) and f, 10, "the window through the driver")
        client = [layout.pixels(t, 144) for t in layout.CLIENT_TWIPS]
        check((found["client"], found["dpi"]) == (client, 144), f"at 144 dpi the client area is {client}",
              str(found))
        w = read(s)
        wrong = [f"{c.name} is {tuple(w[c.name]['rect'])}, not {layout.pixel_rect(c, 144)}" for c in layout.CONTROLS
                 if tuple(w[c.name]["rect"]) != layout.pixel_rect(c, 144)]
        check(not wrong, "at 144 dpi every control is 1.5 times its size at 96 dpi", "; ".join(wrong[:4]))
        fit, by_id = s.ask("fit"), {control_id(c.name): c for c in layout.CONTROLS}
        clipped = [f"{c.name}: {f['line']} in {f['client']}" for f in fit["controls"]
                   if (c := by_id[f["id"]]).visible and c.font == layout.LARGE
                   and (f["line"][0] > f["client"][0] or f["line"][1] > f["client"][1])]
        print("144 dpi: client", found["client"], "Die(1)", w["Die(1)"]["rect"], "Score(1)", w["Score(1)"]["rect"],
              "fonts", fit["fonts"], "Points(1) caption", [f["line"] for f in fit["controls"] if f["id"] == 301])
        check(all(f["truetype"] for f in fit["fonts"]), "both fonts of the window are TrueType", str(fit["fonts"]))
        check(not clipped, "at 144 dpi every one-line caption fits its label", "; ".join(clipped))


if __name__ == "__main__":
    xs.main(lambda check, binary: (test_game(check, binary), test_error_exit(check, binary),
                                   test_window_lifetime(check), test_high_dpi(check, binary)), time_limit=420)
