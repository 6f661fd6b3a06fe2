#!/usr/bin/python3
"""A whole game played with the keyboard alone, Space and Enter in turn, under a small window
manager that gives each new window the focus: the focus follows the turn, Enter closes the
result box, and the new game's first key rolls for player 1.

Usage: test_keyboard.py PATH_TO_TORNEL   (exit status 0 when every check passed)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402

KEYS = 100
CHECKPOINTS = (1, 2, 51, 99)     # keys pressed when the window is read


def state(tree):
    """(rounds played, the Roll buttons that show, those with the focus, player 1's die 1);
    None while the window has not registered."""
    form = {o["description"]: o for o in tree if o["window"] == "Form1"}
    rolls = {xs.roll_player(o): o["states"] for o in form.values()}
    if not {"Rounds played", "Player 1, die 1"} <= set(form) or not {1, 2} <= set(rolls):
        return None
    return (form["Rounds played"]["name"], [p for p in (1, 2) if "showing" in rolls[p]],
            [p for p in (1, 2) if "focused" in rolls[p]], form["Player 1, die 1"]["name"])


def reach(s, wanted, what):
    """Waits up to 10 s for the window to read as wanted: the first three items of state(), or
    a test of the whole state(); returns whether it did and the last state read."""
    last = [None]

    def probe(tree):
        last[0] = state(tree)
        return last[0] and (last[0][:3] == wanted if isinstance(wanted, tuple) else wanted(last[0]))
    try:
        return s.wait_accessible(probe, timeout=10, what=what), last[0]
    except TimeoutError:
        return False, last[0]


def test(check, binary):
    with xs.Session(binary, accessible=True, window_manager=True) as s:
        s.wait_window("Form1")
        ok, start = reach(s, ("0", [1], [1]), "the opening window")
        check(ok, "at the start only Roll(1) shows, with the focus", str(start))
        sent = 0
        for point in CHECKPOINTS + (KEYS,):
            keys = ["space" if k % 2 else "Return" for k in range(sent + 1, point + 1)]
            s.xdotool("key", "--delay", "20", *keys)
            sent = point
            if point == KEYS:
                break
            player = 1 + point % 2
            ok, now = reach(s, (str(point // 2), [player], [player]), f"the window after {point} keys")
            check(ok, f"after {point} key{'s' * (point > 1)}: {point // 2} rounds, only Roll({player}) shows,"
                  " with the focus", str(now))

        box = xs.wait_for(lambda: s.windows(xs.MESSAGE_TITLE), 10, "the result box")
        check(len(box) == 1, "the 100th key ends the game with one result box")
        focused = s.wait_accessible(lambda t: [o["name"] for o in t if o["window"] == xs.MESSAGE_TITLE
                                               and o["role"] == "push button" and "focused" in o["states"]],
                                    what="the result box's focused button")
        check(focused == ["OK"], "the result box's OK button has the focus", str(focused))
        s.xdotool("key", "Return")
        try:
            s.wait_no_window(xs.MESSAGE_TITLE)
        except TimeoutError:
            pass
        check(not s.windows(xs.MESSAGE_TITLE), "Enter closes the result box")
        ok, fresh = reach(s, lambda now: now == ("0", [1], [1], "#"), "the new game")
        check(ok, "a new game opens with Roll(1) showing and focused", str(fresh))

        s.xdotool("key", "space")
        ok, rolled = reach(s, lambda now: now[:3] == ("0", [2], [2]) and now[3] in list("123456"),
                           "player 1's roll in the new game")
        check(ok, "one more key rolls for player 1 and hands the focus to Roll(2)", str(rolled))

        s.check_close_ends_cleanly(check, s.wait_window("Form1"))


if __name__ == "__main__":
    xs.main(test, time_limit=120)
