#!/usr/bin/python3
"""A whole game by keyboard with the game as a native Wayland client of weston: 100 turns by
Space, one result box after round 50 answered by Enter, a fresh window that takes Space at
once, and a close by the window's own close button that ends the program with status 0.
The window's controls are read through the accessibility tree, which does not depend on the
display server.

Usage: test_wayland.py PATH_TO_TORNEL   (exit status 0 when every check passed)
"""
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402
from scoring import result_message  # noqa: E402

NAMES = {"Player 1 score": "score1", "Player 2 score": "score2", "Rounds played": "rounds",
         **{f"Player 1, die {i}": f"die{i}" for i in range(1, 7)}}


def state(tree):
    """Captions of the scores, rounds and player 1's dice, and what the focused button tells;
    the push buttons that show, by what they tell; the texts of the result boxes on show."""
    form = {NAMES[o["description"]]: o["name"] for o in tree
            if o["window"] == "Form1" and o["description"] in NAMES}
    form["focused"] = next((o["description"] for o in tree if o["window"] == "Form1"
                            and o["role"] == "push button" and "focused" in o["states"]), "")
    rolls = [o["description"] for o in tree if o["window"] == "Form1" and o["role"] == "push button"
             and "showing" in o["states"]]
    boxes = [o["name"] for o in tree if o["window"] == xs.MESSAGE_TITLE and o["role"] == "label"
             and "showing" in o["states"] and o["name"]]
    return (form, rolls, boxes) if len(form) == len(NAMES) + 1 else None


def wait_state(s, probe, what):
    """The first state, read twice alike, for which probe(state) holds."""
    last = [None]

    def settled(tree):
        now, before = state(tree), last[0]
        last[0] = now
        return now and now == before and probe(*now) and now
    try:
        return s.wait_accessible(settled, timeout=30, what=what)
    except TimeoutError as e:
        raise TimeoutError(f"{e}; the window read {last[0]}") from None


def client_origin(shot):
    """Where the game's client area starts on weston's screen: one pixel up and left of the
    first yellow pixel that has Die(1)'s border above and to its left and yellow 20 pixels
    to its right and below it (the window's icon is smaller)."""
    dark = lambda x, y: sum(shot.pixel(x, y)) < 200  # noqa: E731
    return next((x - 1, y - 1) for y in range(1, shot.height - 20) for x in range(1, shot.width - 20)
                if shot.pixel(x, y) == shot.pixel(x + 20, y) == shot.pixel(x, y + 20) == xs.YELLOW
                and dark(x - 1, y) and dark(x, y - 1))


def close_button(shot):
    """The centre of the close button that the toolkit draws at the right end of the window's
    title bar: the rightmost dark mark above the top right corner of the client area."""
    left, top = client_origin(shot)
    right = left + xs.WINDOW_SIZE[0]
    marks = [(x, y) for y in range(max(top - 30, 0), top - 2)
             for x in range(right - 30, min(right + 4, shot.width)) if sum(shot.pixel(x, y)) < 200]
    edge = max(x for x, _ in marks)
    cross = [(x, y) for x, y in marks if x > edge - 12]
    return (sum(x for x, _ in cross) // len(cross), sum(y for _, y in cross) // len(cross))


def test(check, binary):
    with xs.Session(binary, accessible=True, wayland=True) as s:
        weston = s.wait_window(xs.WESTON_TITLE)
        # weston's window takes the keys once, for the whole game: moving the X focus again
        # would make weston take the keyboard from the game and give it back
        s.xdotool("windowfocus", "--sync", weston.id)
        # weston gives the new window the keyboard focus; the Roll button has it once it has come
        form, rolls, _ = wait_state(s, lambda f, r, b: f["focused"], "the game's window to take the focus")
        check(rolls == ["Player 1 to roll, round 1 of 50."] and form["rounds"] == "0",
              "the window opens with only Roll(1), which tells who is to roll", str(rolls))
        check(not s.windows("Form1"), "the window is weston's, not an X window of its own")
        faults = []
        for batch in range(9):      # 99 turns, 11 at a time, then the last one on its own
            s.xdotool("key", *["space"] * 11)
            turns = 11 * (batch + 1)
            form, rolls, boxes = wait_state(s, lambda f, r, b: f["rounds"] == str(turns // 2)
                                            and r == [f["focused"]] and r[0].endswith(f"{turns // 2 + 1} of 50."),
                                            f"turn {turns}")
            if boxes or re.search(r"Player (\d) to roll", rolls[0])[1] != str(turns % 2 + 1):
                faults.append(f"after turn {turns}: {rolls} {boxes}")
        check(not faults, "99 turns by Space: players alternate, rounds count, no result box", str(faults))
        s.xdotool("key", "space")
        form, rolls, boxes = wait_state(s, lambda f, r, b: b, "the result box")
        check(len(boxes) == 1, "after round 50 exactly one result box shows", str(boxes))
        scores = (form["score1"], form["score2"])
        check(boxes[0] == result_message(int(scores[0]), int(scores[1])),
              "the result names the winner with both scores as the labels show them", f"{boxes[0]!r} {scores}")
        print(f"     result: {boxes[0]!r}")
        roles = {o["role"] for o in s.accessible_tree() if o["window"] == xs.MESSAGE_TITLE}
        check("alert" in roles, "a screen reader meets the result box as an alert", str(roles))

        s.xdotool("key", "Return")
        form, rolls, boxes = wait_state(s, lambda f, r, b: not b and f["rounds"] == "0" and f["focused"],
                                        "the fresh window to take the focus")
        check(rolls == ["Player 1 to roll, round 1 of 50."] and form["score1"] == form["score2"] == "0",
              "Enter closes the box and a fresh game opens", f"{rolls} {form}")
        s.xdotool("key", "space")
        form, rolls, boxes = wait_state(s, lambda f, r, b: r and r[0].startswith("Player 1 rolled"),
                                        "player 1's first roll in the fresh game")
        check(all(form[f"die{i}"] in "123456" for i in range(1, 7)) and not boxes,
              "the fresh window takes Space at once: player 1 rolls", str(form))

        status = None
        for _ in range(3):  # a click the compositor let pass is made again, as a player would
            s.xdotool("mousemove", "--window", weston.id, 0, 599)    # weston's pointer, out of the way
            shot = s.settled_shot(weston)
            x, y = close_button(shot)
            # weston's X11 backend moves its pointer by the X pointer's steps and takes its place
            # only when it comes in: a pointer that was already inside when weston's window
            # appeared can be off by a fixed amount for good. Out of the window and back in.
            s.xdotool("mousemove", *(v + 100 for v in xs.WESTON_SIZE))
            time.sleep(0.3)
            for dx in (-6, 0):  # as a hand does: the pointer comes onto the button and rests there
                s.xdotool("mousemove", "--window", weston.id, x + dx, y)
                time.sleep(0.3)
            s.xdotool("click", 1)
            if (status := s.wait_exit(4)) is not None:
                break
        if not check(status == 0, "the window's close button ends the program with status 0", f"status {status}"):
            print(f"clicked at ({x}, {y}) of", xs.keep_shot(shot, "wayland-close"))


if __name__ == "__main__":
    xs.main(test, time_limit=100)
