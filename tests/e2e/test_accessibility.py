#!/usr/bin/python3
"""What a screen reader finds in the window: each control's role, caption and description,
which controls show, a roll done through the Roll button's Press action, and after each of
several rolls what the Roll button that takes the focus tells: the dice, gain and score.

Usage: test_accessibility.py PATH_TO_TORNEL   (exit status 0 when every check passed)
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402

KINDS = ("pair", "three of a kind", "four of a kind", "five of a kind", "six of a kind")
ROLL = {p: f"Roll the dice for player {p}" for p in (1, 2)}
SUMS = [f"Sum of the matching sets of {n} dice" for n in range(2, 7)]
# description -> (role, opening caption); the rules' caption is only checked by its start.
CONTROLS = {ROLL[p]: ("push button", "Roll") for p in (1, 2)}
for p in (1, 2):
    CONTROLS.update({f"Player {p}, die {i}": ("label", "#") for i in range(1, 7)})
    CONTROLS.update({f"Player {p} points heading": ("label", "Points"), f"Player {p} score": ("label", "0"),
                     f"Player {p} gain of the latest roll": ("label", "0")})
    CONTROLS.update({f"Player {p} {k}": ("label", c) for k, c in zip(KINDS, xs.CATEGORIES)})
CONTROLS.update({"Rounds heading": ("label", "Turn"), "Rounds played": ("label", "0"),
                 "Rules of the game": ("label", "This is the game of tornel, for two people."),
                 **{s: ("label", "0") for s in SUMS}})


# What the Roll button on show tells: the turn just played, if any, and who is to roll.
NEWS = re.compile(r"(?:Player (\d) rolled((?: \d){6}): [a-z ]+, (\d+) points?, score (\d+)\. )?"
                  r"Player (\d) to roll, round (\d+) of 50\.")


def controls(tree):
    """The game window's objects by description, each a list, the Roll button on show filed under
    its own description; None until the window registered."""
    found = {}
    for o in tree:
        if o["window"] == "Form1" and o["description"]:
            player = xs.roll_player(o)
            found.setdefault(ROLL[player] if player else o["description"], []).append(o)
    return found if ROLL[1] in found else None


def check_news(check, c, player):
    """After player's roll: the other Roll button has the focus, and what it tells matches the
    labels: the six dice in order, the gain, the score and the round to come."""
    other = 3 - player
    news = NEWS.fullmatch(c[ROLL[other]]["description"])
    label = {k: c[f"Player {player} {k}"]["name"] for k in ("score", "gain of the latest roll")}
    dice = "".join(" " + c[f"Player {player}, die {i}"]["name"] for i in range(1, 7))
    told = news and (news[1], news[2], news[3], news[4], news[5], news[6])
    shown = (str(player), dice, label["gain of the latest roll"], label["score"], str(other),
             str(int(c["Rounds played"]["name"]) + 1))
    check("focused" in c[ROLL[other]]["states"] and told == shown,
          f"after player {player}'s roll the focused Roll({other}) tells the dice, gain and score shown",
          f"{c[ROLL[other]]['description']!r}, labels {shown}")
    return c[ROLL[other]]["description"]


def check_layout(check, found, when):
    """Descriptions, roles, what can take the focus and what hides; returns {description: object}
    and the descriptions that show, or None when the descriptions are not those of the table."""
    odd = {d: len(f) for d, f in found.items() if d not in CONTROLS or len(f) != 1}
    if not check(set(found) == set(CONTROLS) and not odd, f"{when}: each control is described once, as in"
                 " the control table", f"missing: {sorted(set(CONTROLS) - set(found))}, odd: {odd}"):
        return None
    c = {d: f[0] for d, f in found.items()}
    roles = [d for d in CONTROLS if c[d]["role"] != CONTROLS[d][0]]
    check(not roles, f"{when}: Roll buttons are push buttons, everything else a label", str(roles))
    focusable = sorted(d for d, o in c.items() if "focusable" in o["states"])
    check(focusable == [ROLL[1], ROLL[2]], f"{when}: only the two Roll buttons take focus", str(focusable))
    hidden = [(d[-6], c[d]["states"], c[d]["width"]) for d in SUMS]
    check(all(not {"showing", "visible"} & set(s) and w == 0 for _, s, w in hidden),
          f"{when}: the five hidden sums neither show nor take room", str(hidden))
    return c, sorted(d for d, o in c.items() if "showing" in o["states"])


def test(check, binary):
    with xs.Session(binary, accessible=True, window_manager=True) as s:
        win = s.wait_window("Form1")
        read = check_layout(check, s.wait_accessible(controls, what="the window's controls"), "at the start")
        if not read:
            return
        c, shown = read
        check(shown == sorted(set(CONTROLS) - set(SUMS) - {ROLL[2]}),
              "at the start every control but Roll(2) and the sums shows", str(set(CONTROLS) - set(shown)))
        named = {d: c[d]["name"] for d in CONTROLS}
        wrong = [(d, n[:50]) for d, n in named.items() if n != CONTROLS[d][1]
                 and not (d == "Rules of the game" and n.startswith(CONTROLS[d][1]))]
        check(not wrong, "each control is named by its caption", str(wrong))
        check("focused" in c[ROLL[1]]["states"], "Roll(1) has the focus", str(c[ROLL[1]]["states"]))
        opening = c[ROLL[1]]["description"]
        check(opening == "Player 1 to roll, round 1 of 50.", "Roll(1) tells who opens the game", opening)

        actions = s.press_accessible(opening)
        check(actions and "press" in [a.lower() for a in actions], "Roll(1) offers a Press action",
              str(actions))
        last = [None]

        def settled(tree, player=2):    # names follow the captions through events: read until they rest
            now, before = controls(tree), last[0]
            last[0] = now
            shows = now and any("showing" in o["states"] for o in now.get(ROLL[player], []))
            return shows and now == before and now
        found = s.wait_accessible(settled, what="Roll(2) to show after pressing Roll(1), and the tree to rest")
        read = check_layout(check, found, "after the roll")
        if not read:
            return
        c, shown = read
        check(ROLL[1] not in shown and "focused" in c[ROLL[2]]["states"],
              "after the roll Roll(1) is gone and the showing Roll(2) has the focus",
              f"{c[ROLL[1]]['states']} / {c[ROLL[2]]['states']}")
        faces = [c[f"Player {p}, die {i}"]["name"] for p in (1, 2) for i in range(1, 7)]
        check(all(len(f) == 1 and f in "123456" for f in faces[:6]) and faces[6:] == ["#"] * 6,
              "player 1's dice read digits 1 to 6, player 2's read #", str(faces))
        score, gain = c["Player 1 score"]["name"], c["Player 1 gain of the latest roll"]["name"]
        check(score == gain and gain.isdigit() and int(gain) > 0, "Score(1) reads the same as Gain(1)",
              f"{score!r} / {gain!r}")
        check([c[d]["name"] for d in ("Player 2 score", "Rounds played")] == ["0", "0"],
              "Score(2) and the rounds played still read 0")

        print("Roll(2) said:", check_news(check, c, 1), flush=True)
        for turn in range(2, 6):        # more turns by Space, the round closing between them
            s.key(win, "space")
            player = 2 - turn % 2
            c = {d: f[0] for d, f in s.wait_accessible(lambda t: settled(t, 3 - player),
                                                       what=f"turn {turn} to rest").items()}
            said = check_news(check, c, player)
            if turn == 2:
                print(f"Roll(1) said: {said}", flush=True)

        s.check_close_ends_cleanly(check, win)


if __name__ == "__main__":
    xs.main(test, time_limit=60)
