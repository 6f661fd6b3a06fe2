#!/usr/bin/python3
"""A whole game played with the keyboard alone, Space and Enter in turn, under a small window
manager that gives each new window the focus: a key held down plays one turn, the focus follows
the turn, Escape mid-game changes nothing, Enter closes the result box, the new game opens in the same window that never
left the screen and kept the focus, and the new game's first key rolls for player 1.

Usage: test_keyboard.py PATH_TO_TORNEL   (exit status 0 when every check passed)
"""
import os
import sys
import time

from Xlib import X

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402

KEYS = 100
CHECKPOINTS = (1, 2, 51, 99)     # keys pressed when the window is read; the first two held down
ESCAPE_AT = 51                   # and here Escape is pressed, which must change nothing


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


def escape_changes_nothing(check, s, win, before):
    """Presses Escape mid-game; the window must look and read as before, focus included."""
    shot = s.settled_shot(win)
    s.xdotool("key", "Escape")
    time.sleep(0.5)
    after = state(s.accessible_tree())
    check(after == before and s.settled_shot(win).data == shot.data, "Escape mid-game changes nothing",
          f"{before} became {after}")


def map_changes(s, win):
    """The map and unmap notices the X server sent about win since it was watched."""
    s.dpy.sync()
    events = [s.dpy.next_event() for _ in range(s.dpy.pending_events())]
    return [e.__class__.__name__ for e in events
            if e.type in (X.MapNotify, X.UnmapNotify) and e.window.id == win.id]


def test(check, binary):
    with xs.Session(binary, accessible=True, window_manager=True) as s:
        win = s.wait_window("Form1")
        ok, start = reach(s, ("0", [1], [1]), "the opening window")
        check(ok, "at the start only Roll(1) shows, with the focus", str(start))
        sent = 0
        for point in CHECKPOINTS + (KEYS,):
            keys = ["space" if k % 2 else "Return" for k in range(sent + 1, point + 1)]
            s.hold(win, *keys) if point <= 2 else s.xdotool("key", "--delay", "20", *keys)
            sent = point
            if point == KEYS:
                break
            player = 1 + point % 2
            ok, now = reach(s, (str(point // 2), [player], [player]), f"the window after {point} keys")
            check(ok, f"after {point} key{'s' * (point > 1)}{', held' * (point <= 2)}: {point // 2} rounds,"
                  f" only Roll({player}) shows, with the focus", str(now))
            if point == ESCAPE_AT:
                escape_changes_nothing(check, s, win, now)

        box = xs.wait_for(lambda: s.windows(xs.MESSAGE_TITLE), 10, "the result box")
        check(len(box) == 1, "the 100th key ends the game with one result box")
        focused = s.wait_accessible(lambda t: [o["name"] for o in t if o["window"] == xs.MESSAGE_TITLE
                                               and o["role"] == "push button" and "focused" in o["states"]],
                                    what="the result box's focused button")
        check(focused == ["OK"], "the result box's OK button has the focus", str(focused))
        win.change_attributes(event_mask=X.StructureNotifyMask)     # from here on, any (un)map is seen
        map_changes(s, win)
        s.xdotool("key", "Return")
        try:
            s.wait_no_window(xs.MESSAGE_TITLE)
        except TimeoutError:
            pass
        check(not s.windows(xs.MESSAGE_TITLE), "Enter closes the result box")
        ok, fresh = reach(s, lambda now: now == ("0", [1], [1], "#"), "the new game")
        check(ok, "a new game opens with Roll(1) showing and focused", str(fresh))
        focus, changes = s.dpy.get_input_focus().focus, map_changes(s, win)
        check(s.wait_window("Form1").id == win.id and not changes and getattr(focus, "id", focus) == win.id,
              "the new game opens in the same X window, never unmapped, which keeps the keyboard focus",
              f"window {s.wait_window('Form1').id:#x} (was {win.id:#x}), {changes}, focus on {focus}")

        s.xdotool("key", "space")
        ok, rolled = reach(s, lambda now: now[:3] == ("0", [2], [2]) and now[3] in list("123456"),
                           "player 1's roll in the new game")
        check(ok, "one more key rolls for player 1 and hands the focus to Roll(2)", str(rolled))

        s.check_close_ends_cleanly(check, s.wait_window("Form1"))


if __name__ == "__main__":
    xs.main(test, time_limit=120)
