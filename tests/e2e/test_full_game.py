#!/usr/bin/python3
"""A whole game of 50 rounds, a busy loop on every core: the result box, its numbers, and the new
game after it, on screen whole within FRESH_GAME_LIMIT seconds of the Enter that answers the box.

Usage: test_full_game.py PATH_TO_TORNEL   (exit status 0 when every check passed)
"""
import os
import sys
import time

from Xlib import X, XK
from Xlib.ext import xtest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402
from scoring import result_message  # noqa: E402

CLICKS = 100
TALLY = ("Score(1)", "Score(2)", "Gain(1)", "Gain(2)")
DICE = {p: [f"Die({(p - 1) * 6 + i})" for i in range(1, 7)] for p in (1, 2)}
FRESH_GAME_LIMIT = 0.3


def play(s, win, opening):
    """Clicks whichever Roll button shows, 100 times; returns what went wrong on the way and
    each player's total of what their dice were worth in the first 99 turns."""
    faults, total, gain = [], {1: 0, 2: 0}, {1: 0, 2: 0}
    geo = s.geometry(win)
    numturns = xs.inside(xs.LABELS["NumTurns"][0])
    shot = opening
    tally = s.wait_accessible(lambda tree: xs.captions(tree, geo, TALLY), what="Score and Gain labels")
    for click in range(CLICKS):
        player, other = 1 + click % 2, 2 - click % 2
        turn = f"round {click // 2 + 1}, player {player}"
        if not (xs.roll_shown(shot, player) and not xs.roll_shown(shot, other)):
            faults.append(f"{turn}: Roll({player}) is not the only button")
            break
        x, y, w, h = xs.ROLL[player]
        s.click(win, x + w // 2, y + h // 2)
        if click == CLICKS - 1:
            break
        if s.windows(xs.MESSAGE_TITLE):
            faults.append(f"{turn}: the result box showed before round 50 ended")
            break
        prev, shot = shot, s.settled_shot(win, lambda sh: xs.roll_shown(sh, other),
                                          what=f"Roll({other}) after {turn}")
        if not all(xs.dice_changed(opening, shot, player)):
            faults.append(f"{turn}: some of the player's dice still show #")
        if any(xs.dice_changed(opening, shot, other)):
            faults.append(f"{turn}: the other player's dice do not all show #")
        tally = s.wait_accessible(lambda tree: xs.captions(tree, geo, TALLY + tuple(DICE[player])))
        faces = [tally[d] for d in DICE[player]]
        gain[player] = xs.gain_of(faces)
        total[player] += gain[player]
        score = {p: int(tally[f"Score({p})"]) for p in (1, 2)}
        if (score[1], score[2], int(tally[f"Gain({player})"])) != (total[1], total[2], gain[player]):
            faults.append(f"{turn}: dice {faces} worth {gain[player]} for totals {total},"
                          f" but Gain {tally[f'Gain({player})']} and Scores {score}")
        if player == 2:
            wanted = ((xs.GREEN, xs.RED) if gain[1] > gain[2] else
                      (xs.RED, xs.GREEN) if gain[1] < gain[2] else (xs.CYAN, xs.CYAN))
            seen = tuple(xs.background(shot, xs.LABELS[f"Gain({p})"][0]) for p in (1, 2))
            if seen != wanted:
                faults.append(f"{turn}: Gains {gain} coloured {seen}")
            if prev.region(*numturns) == shot.region(*numturns):
                faults.append(f"{turn}: NumTurns did not change")
    return faults, total


def answer_and_time(s, box, win, last, differ):
    """Answers the result box with Enter, typed through XTEST on the test's own connection, and
    watches the window until differ() finds nothing (xs.watch_fresh_window)."""
    s.xdotool("windowfocus", box.id)
    xs.wait_for(lambda: getattr(s.dpy.get_input_focus().focus, "id", None) == box.id, 5,
                "the focus on the result box", step=0.01)
    code = s.dpy.keysym_to_keycode(XK.string_to_keysym("Return"))
    sent = time.monotonic()
    xtest.fake_input(s.dpy, X.KeyPress, code)
    xtest.fake_input(s.dpy, X.KeyRelease, code)
    s.dpy.sync()
    return xs.watch_fresh_window(s, win, last, lambda shot: not differ(shot), sent)


def test(check, binary):
    with xs.Session(binary, accessible=True, busy=True) as s:
        win = s.wait_window("Form1")
        opening = s.settled_shot(win)
        faults, total = play(s, win, opening)
        check(not faults, "100 turns: players alternate, dice show, Scores add what the dice are worth,"
              " Gain colours, NumTurns",
              "; ".join(faults[:5]))

        boxes = xs.wait_for(lambda: s.windows(xs.MESSAGE_TITLE), 10, "the result box")
        check(len(boxes) == 1, f"one result box titled {xs.MESSAGE_TITLE!r} shows after 50 rounds")
        box, geo = boxes[0], s.geometry(win)

        def in_box(o):
            return o["window"] == xs.MESSAGE_TITLE and "showing" in o["states"]

        def result(tree):
            texts = [o["name"] for o in tree if o["role"] == "label" and in_box(o) and o["name"]]
            shown = xs.captions(tree, geo, ("Score(1)", "Score(2)", *DICE[2]))
            if len(texts) == 1 and shown:
                return tree, texts[0], [shown["Score(1)"], shown["Score(2)"]], [shown[d] for d in DICE[2]]
        tree, text, score_names, last = s.wait_accessible(result, what="the result, Scores and dice")
        print(f"     result: {text!r}, Score labels: {score_names}")
        total[2] += xs.gain_of(last)    # player 2's last dice still show behind the box
        buttons = [o["name"] for o in tree if o["role"] == "push button" and in_box(o)]
        check(buttons == ["OK"], "the result box has an OK button only", str(buttons))

        scores = [int(n.strip()) for n in score_names]
        check(scores == [total[1], total[2]], "each final Score is what the player's dice were worth",
              f"{scores} against {total}")
        check(text == result_message(total[1], total[2]),
              "the result names the winner with both scores, as our own tally has them", repr(text))

        def differ(shot):
            return ([n for n, (r, _) in xs.LABELS.items()
                     if shot.region(*xs.inside(r)) != opening.region(*xs.inside(r))]
                    + [f"Roll({p})" for p, want in ((1, True), (2, False)) if xs.roll_shown(shot, p) != want])
        seen, faults = answer_and_time(s, box, win, s.settled_shot(win), differ)
        print(f"     ms after the Enter: {({k: round(v * 1000) for k, v in seen.items()})}")
        check(seen.get("whole", 5) <= FRESH_GAME_LIMIT and not faults, "the fresh game is on screen whole, Roll(1) "
              f"with its caption, within {FRESH_GAME_LIMIT * 1000:.0f} ms of the Enter", "; ".join(faults))
        try:
            s.wait_no_window(xs.MESSAGE_TITLE)
        except TimeoutError:
            pass
        check(not s.windows(xs.MESSAGE_TITLE), "Enter closes the result box")
        win = s.wait_window("Form1")
        try:
            shot = s.settled_shot(win, lambda sh: not differ(sh), what="the opening state")
        except TimeoutError:
            shot = s.shot(win)
        if not check(not differ(shot), "a new game starts: every label as at the start, only Roll(1) shows",
                     f"differ: {differ(shot)}"):
            print("picture:", xs.keep_shot(shot, "after-result"))
        check(s.running(), "the program keeps running after the result")
        before = s.shot(win)
        x, y, w, h = xs.ROLL[1]
        s.click(win, x + w // 2, y + h // 2)
        after = s.settled_shot(win, lambda sh: xs.roll_shown(sh, 2), what="Roll(2) in the new game")
        check(all(xs.dice_changed(before, after, 1)) and not any(xs.dice_changed(before, after, 2)),
              "in the new game Roll(1) rolls player 1's dice again")

        s.check_close_ends_cleanly(check, win)


if __name__ == "__main__":
    xs.main(test, time_limit=180)
