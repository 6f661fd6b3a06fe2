#!/usr/bin/python3
"""A new game's window: its size and colours, player 1's first turn, and closing it.

Usage: test_window.py PATH_TO_TORNEL   (exit status 0 when every check passed)
"""
import os
import sys
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import expected_layout as layout  # noqa: E402
import xsession as xs  # noqa: E402


def colour_mismatches(shot, names):
    """The labels among names whose background is not their opening colour."""
    return [f"{n} is {xs.background(shot, xs.LABELS[n][0])}, not {xs.LABELS[n][1]}"
            for n in names if xs.background(shot, xs.LABELS[n][0]) != xs.LABELS[n][1]]


def layout_mismatches(tree, geo, shot):
    """How the opening window differs from the one written down in expected_layout: each
    shown control must be the one object of its role and caption at its place and size, with
    its background and border (its left edge black, or not); each hidden one must be there,
    not showing. A hidden control has no place on the screen to compare."""
    objects = [o for o in tree if o["window"] == "Form1" and o["role"] in ("label", "push button")]
    bad = []
    for c in layout.CONTROLS:
        role, rect = "push button" if c.kind == "button" else "label", layout.pixel_rect(c)
        mine = [o for o in objects if o["role"] == role and o["name"] == c.caption
                and ("showing" in o["states"]) == c.visible
                and (not c.visible or (o["x"] - geo[0], o["y"] - geo[1], o["width"], o["height"]) == rect)]
        if not mine:
            bad.append(f"no {'shown' if c.visible else 'hidden'} {role} {c.caption[:12]!r} for {c.name}"
                       + (f" at {rect}" if c.visible else ""))
            continue
        objects.remove(mine[0])
        if not c.visible:
            continue
        if c.background and xs.background(shot, rect) != c.background:
            bad.append(f"{c.name} is {xs.background(shot, rect)}, not {c.background}")
        x, y, _, h = rect
        black = sum(shot.pixel(x, j) == xs.BLACK for j in range(y + 1, y + h - 1)) / (h - 2)
        if c.border and (c.border == "single") != (black > 0.5):
            bad.append(f"{c.name}'s left edge is {black:.0%} black, its border is {c.border!r}")
    return bad + [f"an unexpected {o['role']} {o['name'][:12]!r}" for o in objects]


def test(check, binary):
    with xs.Session(binary, accessible=True) as s:
        win = s.wait_window("Form1")
        check(s.title(win) == layout.WINDOW_CAPTION, "the window is titled Form1", repr(s.title(win)))
        size = s.geometry(win)[2:]
        check(size == tuple(map(layout.pixels, layout.CLIENT_TWIPS)), "the client area is 351 x 289",
              f"it is {size}")

        before = s.settled_shot(win)
        opening = s.wait_accessible(lambda tree: len([o for o in tree if o["window"] == "Form1"])
                                    > len(layout.CONTROLS) and tree, what="the window's 38 controls")
        bad = layout_mismatches(opening, s.geometry(win), before)
        check(not bad, "each of the 38 controls opens with its caption, place, size, visibility,"
              " background and border", "; ".join(bad))
        check(xs.roll_shown(before, 1) and not xs.roll_shown(before, 2),
              "at the start only Roll(1) shows")

        # Player 1 rolls: their dice change, player 2's stay, the buttons swap.
        x, y, w, h = xs.ROLL[1]
        s.click(win, x + w // 2, y + h // 2)
        after = s.settled_shot(win, lambda sh: xs.roll_shown(sh, 2), what="Roll(2) to show after Roll(1)")
        changed = {p: xs.dice_changed(before, after, p) for p in (1, 2)}
        check(all(changed[1]), "each of player 1's six dice changed", f"changed: {changed[1]}")
        check(not any(changed[2]), "player 2's dice stayed as they were", f"changed: {changed[2]}")
        check(not xs.roll_shown(after, 1), "Roll(1) is gone after its click")
        check(colour_mismatches(after, [f"{c}(2)" for c in xs.CATEGORIES]) == [],
              "player 2's categories stay white")

        # What the dice say, through the accessibility tree.
        geo = s.geometry(win)
        dice = [f"Die({n})" for n in range(1, 13)]

        def dice_shown(tree):
            shown = xs.captions(tree, geo, dice)
            return shown and (tree, shown)
        tree, shown = s.wait_accessible(dice_shown, what="the twelve die labels")
        roll2 = layout.pixel_rect(layout.BY_NAME["Roll(2)"])
        shown_roll2 = [o for o in xs.at(tree, geo, *roll2[:2], roles={"push button"})
                       if (o["width"], o["height"]) == roll2[2:] and o["name"] == "Roll"]
        check(len(shown_roll2) == 1, f"Roll(2) shows at {roll2} once player 1 has rolled")
        controls = [o for o in tree if o["window"] == "Form1" and "showing" in o["states"]
                    and o["role"] in ("label", "push button")]
        check(len(controls) == len(xs.LABELS) + 1 and all(o["description"] for o in controls),
              "each shown label and button has an accessible description",
              f"{len(controls)} shown, without: {[o['name'][:20] for o in controls if not o['description']]}")
        described = [xs.at(tree, geo, *xs.DICE[p][i], roles={"label"})[0]["description"]
                     for p in (1, 2) for i in range(6)]
        check(described == [f"Player {p}, die {i}" for p in (1, 2) for i in range(1, 7)],
              "die labels are described by player and number", str(described))
        faces = [shown[d] for d in dice]
        check(all(len(f) == 1 and f in "123456" for f in faces[:6]),
              "player 1's dice show faces 1 to 6", str(faces[:6]))
        check(faces[6:] == ["#"] * 6, "player 2's dice show #", str(faces[6:]))
        # Pair up to the size of the largest group of equal faces light up.
        largest = max(Counter(faces[:6]).values())
        lit = {k + 2 for k, c in enumerate(xs.CATEGORIES)
               if xs.background(after, xs.LABELS[f"{c}(1)"][0]) != xs.WHITE}
        if not check(lit == set(range(2, largest + 1)), "player 1's lit categories match the dice",
                     f"faces {faces[:6]}, lit {sorted(lit)}"):
            print("picture:", xs.keep_shot(after, "window-after-roll"))

        s.check_close_ends_cleanly(check, win)


if __name__ == "__main__":
    xs.main(test, time_limit=60)
