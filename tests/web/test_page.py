#!/usr/bin/python3
"""The web page in the machine's Chromium: the opening window, a whole game played with clicks
and keys, the result box, the fresh window, a phone's screen played by taps, offline play, the
accessibility rules in light, dark and with the box open, and a failed click ending the game.

tests/web/play.mjs drives the page and writes down what it saw; this script serves the site
with scripts/serve_web.py, runs it, and holds what it saw against the one expected layout and
the one rule of a roll.

Usage: test_page.py SITE_DIR   (exit status 0 when every check passed)
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import expected_layout as layout  # noqa: E402
import xsession as xs  # noqa: E402
from scoring import CATEGORIES, HIGHLIGHTS, gain_of, lit_categories, result_message  # noqa: E402

SERVER = os.path.join(HERE, "..", "..", "scripts", "serve_web.py")
ROUNDS = 50
LARGE_FONT_PX = 24      # 18 pt at 96 dpi
FIRST_TO_ROLL = "Player 1 to roll, round 1 of 50."


def rgb(css):
    """'rgb(255, 255, 0)' as (255, 255, 0); a transparent background, of no colour of its own, as None."""
    parts = re.findall(r"[\d.]+", css)
    return None if len(parts) == 4 and float(parts[3]) == 0 else tuple(int(v) for v in parts[:3])


def control_faults(win):
    """How a window read from the page differs from the opening window of the expected layout."""
    faults = [] if (win["state"], win["focus"]) == ("ready", "Roll(1)") else [
        f"state, focus {win['state']}, {win['focus']}"]
    if any(abs(a - b) > 0.1 for a, b in zip(win["size"], (351, 289))):
        faults.append(f"#form is {win['size']} at scale 1")
    faults += [f"{len(win['controls'])} controls"] if len(win["controls"]) != len(layout.CONTROLS) else []
    for c in layout.CONTROLS:
        got = win["controls"].get(c.name)
        if got is None:
            faults.append(f"no control {c.name}")
            continue
        label = c.kind == "label"
        seen = (got["tag"], got["text"], not got["hidden"], got["tabbable"],
                abs(got["font"] - LARGE_FONT_PX) < 0.5 if c.font == layout.LARGE else got["font"] < 16)
        wanted = ("div" if label else "button", c.caption, c.visible, c.visible and not label, True)
        if label:
            align = got["align"].replace("start", "left").replace("center", "centre")
            seen += (rgb(got["background"]), got["border"], align)
            wanted += (c.background, c.border == "single", c.align)
        if seen != wanted:
            faults.append(f"{c.name} is {seen}, not {wanted}")
        if any(abs(a - b) > 0.1 for a, b in zip(got["rect"], layout.pixel_rect(c))):
            faults.append(f"{c.name} at {[round(v, 2) for v in got['rect']]}, not {layout.pixel_rect(c)}")
    return faults


def turn_faults(before, after, player, score, last=False):
    """What a turn of player did wrong against the rule of a roll; score is our own tally."""
    other, first, other_first = 3 - player, 1 + 6 * (player - 1), 7 - 6 * (player - 1)
    text, colour = (lambda n: after["controls"][n]["text"]), (lambda n: rgb(after["controls"][n]["background"]))
    dice = [text(f"Die({first + j})") for j in range(6)]
    if not all(len(d) == 1 and d in "123456" for d in dice):
        return [f"player {player} threw {dice}"]
    gain = gain_of(dice)
    score[player] += gain
    rounds = int(before["controls"]["NumTurns"]["text"]) + (player == 2)
    seen = (text(f"Gain({player})"), text(f"Score({player})"), text(f"Score({other})"), text("NumTurns"),
            after["controls"][f"Roll({player})"]["hidden"], after["controls"][f"Roll({other})"]["hidden"],
            [text(f"Die({other_first + j})") for j in range(6)], after["state"], after["boxOpen"])
    wanted = (str(gain), str(score[player]), before["controls"][f"Score({other})"]["text"], str(rounds),
              True, False, ["#"] * 6, "waiting" if last else "ready", last)
    faults = [] if seen == wanted else [f"player {player} threw {dice}: {seen}, not {wanted}"]
    colours = {f"{c}({player})": HIGHLIGHTS[c] if c in lit_categories(dice) else layout.WHITE for c in CATEGORIES}
    g1, g2 = int(text("Gain(1)")), int(text("Gain(2)"))
    marked = player == 2 and not last and g1 != g2
    colours.update({"Gain(1)": (layout.GREEN if g1 > g2 else xs.RED) if marked else layout.CYAN,
                    "Gain(2)": (layout.GREEN if g2 > g1 else xs.RED) if marked else layout.CYAN})
    faults += [f"after {dice} {n} is {colour(n)}, not {c}" for n, c in colours.items() if colour(n) != c]
    return faults


def narration_fault(after, player, score, k):
    """The live region's last sentences after turn k (1-based) against the dice and numbers shown."""
    c = after["controls"]
    dice = " ".join(c[f"Die({1 + 6 * (player - 1) + j})"]["text"] for j in range(6))
    gain = c[f"Gain({player})"]["text"]
    wanted = (rf"Player {player} rolled {dice}: [a-z ]+, {gain} points?, score {score}\. "
              rf"Player {3 - player} to roll, round {k // 2 + 1} of {ROUNDS}\.\s*$")
    said = after["narration"] or ""
    return None if re.search(wanted, said) else f"after turn {k}: ...{said[-120:]!r}"


def unfocused(win):
    """A window read from the page, but where the focus is and what the log gained: a click on the
    backdrop may take the focus, and a first look at a page reads its whole log."""
    return {k: v for k, v in win.items() if k not in ("focus", "narration")}


def played(seen_turns, before, score, faults, last_turn=0):
    """Checks the turns of one page against our own tally; returns the window after the last."""
    for k, t in enumerate(seen_turns, 1):
        faults += turn_faults(before, t["after"], 2 - k % 2, score, last=k == last_turn)
        before = t["after"]
    return before


def check_turns(check, seen):
    """The opening window, a whole game by clicks and keys with the focus passing over, and the
    live region after each turn; returns our own tally and the window after the last turn."""
    opening = seen["opening"]
    check(opening["title"] in ("Tornel", "Form1") and ("Form1" in opening["title"] or opening["form1Shown"]),
          "the document is titled Tornel or Form1 and the window's caption Form1 shows",
          f"title {opening['title']!r}, Form1 on the page: {opening['form1Shown']}")
    faults = control_faults(opening)
    check(not faults, "the 38 controls open at their places, with caption, visibility, tab stop, colour, "
          "border, alignment and font size; focus on Roll(1); state ready", "; ".join(faults[:4]))

    score, faults = {1: 0, 2: 0}, []
    last = played(seen["turns"], opening, score, faults, last_turn=2 * ROUNDS)
    check(len(seen["turns"]) == 2 * ROUNDS and not faults, f"{len(seen['turns'])} turns: dice, gains, scores, "
          "highlights, Gain colours, NumTurns and the Roll button passing over, against the rule of a roll",
          "; ".join(faults[:4]))
    keys = [(t["how"], t["focusBefore"], k) for k, t in enumerate(seen["turns"]) if t["how"] != "click"]
    focus = [(k, t["after"]["focus"]) for k, t in enumerate(seen["turns"][:-1])
             if t["after"]["focus"] != f"Roll({2 - k % 2})"]
    check(len(keys) >= 4 and all(f == f"Roll({1 + k % 2})" for _, f, k in keys) and not focus,
          "Space and Enter roll on the focused Roll button; after every turn the showing Roll button has "
          "the focus", f"keys {keys}; focus {focus[:3]}")

    bad = [narration_fault(t["after"], 2 - k % 2, int(t["after"]["controls"][f"Score({2 - k % 2})"]["text"]), k)
           for k, t in enumerate(seen["turns"][:-1], 1)]
    bad = [b for b in bad if b]
    check(re.search(re.escape(FIRST_TO_ROLL) + r"\s*$", opening["narration"] or "") and not bad,
          "the live region tells the opening and every turn's dice, gain, score and who rolls in which round",
          f"opening {opening['narration']!r}; " + "; ".join(bad[:3]))
    return score, last


def check_game(check, seen):
    score, last = check_turns(check, seen)
    tabs = [(k, fs) for k, fs in enumerate(seen["tabs"])
            if not set(fs) <= {f"Roll({2 - k % 2})", "BODY"} or f"Roll({2 - k % 2})" not in fs]
    check(len(seen["tabs"]) == 4 and not tabs, "Tab reaches no other control", f"tabs {seen['tabs']}")
    esc = seen.get("escape", {})
    check(esc and esc["before"] == esc["after"], "Escape in the middle of a game changes nothing")
    return score, last


def check_box(check, seen, score, last):
    box, clicks = seen.get("box", {}), seen.get("boxClicks", {})
    wanted = {"open": True, "modal": True, "role": "alertdialog", "title": xs.MESSAGE_TITLE,
              "text": result_message(score[1], score[2]), "buttons": ["OK"], "openBoxes": 1, "state": "waiting"}
    check(box == wanted, "one modal result box: alertdialog, title, the result of our own tally, OK only",
          f"{box} against {wanted}")
    check([last["controls"][f"Score({p})"]["text"] for p in (1, 2)] == [str(score[1]), str(score[2])],
          "the Score labels agree with the result")
    check(clicks and unfocused(clicks["behind"]) == unfocused(clicks["after"]) and clicks["box"] == box,
          "clicks on the window behind the box, on Roll(1) among them, change nothing")
    faults = control_faults(seen["fresh"]) if "fresh" in seen else ["no fresh game"]
    check(not faults and re.search(re.escape(FIRST_TO_ROLL) + r"\s*$", seen["fresh"]["narration"] or ""),
          "Enter after those clicks closes the box; the fresh game opens as the first one, focus on Roll(1)",
          "; ".join(faults[:4]))


def check_elsewhere(check, seen):
    phone = seen.get("phone")
    if check(phone is not None, "a 360 x 640 phone screen at 3 device pixels per CSS px opens the game"):
        (w, h), (vw, vh), (left, top, right, bottom) = phone["scroll"], phone["viewport"], phone["form"]
        inside = w <= vw and h <= vh and left >= 0 and top >= 0 and right <= vw and bottom <= vh
        check(inside and phone["rollHeight"] >= 24,
              "on the phone the whole window shows without scrolling and Roll is at least 24 CSS px tall",
              f"scroll {w} x {h} in {vw} x {vh}, #form {phone['form']}, Roll {phone['rollHeight']} px")
        faults = []
        played(phone["turns"], phone["before"], {1: 0, 2: 0}, faults)
        check(len(phone["turns"]) == 4 and not faults, "four turns played by taps on the phone", "; ".join(faults[:3]))

    check_offline(check, seen)

    for name, key in (("at the opening", "axeOpening"), ("with the result box open", "axeBox"),
                      ("in dark mode", "axeDark")):
        check(seen.get(key) == [], f"axe-core finds no WCAG 2 A/AA violation {name}", str(seen.get(key))[:400])

    check_around(check, seen)

    fail = seen.get("failure", {})
    box, ended = fail.get("box", {}), fail.get("ended", {})
    said = box.get("text") or ""
    check(box.get("openBoxes") == 1 and "type mismatch" in said and "Score(1)" in said,
          "a spoilt Score(1) and a click show one box naming the type mismatch and Score(1)", str(box))
    check(fail and fail["after"]["state"] == "ended" and ended["shown"] and ended["text"].strip() and ended["reload"]
          and unfocused(fail["before"]) == unfocused(fail["after"]) and not fail["messages"] and fail["reloaded"],
          "Escape closes the box and the game has ended: #ended shows, a click where Roll was does nothing, "
          "nothing reached the console, and Reload starts the game again",
          f"{ended}; state {fail.get('after', {}).get('state')}; {fail.get('messages')}")

    check_troubles(check, seen)


def check_offline(check, seen):
    off, faults = seen.get("offline", {}), ["no offline roll"]
    if "after" in off:
        before = off["before"]["controls"]
        score = {p: int(before[f"Score({p})"]["text"]) for p in (1, 2)}
        faults = turn_faults(off["before"], off["after"], 2 if before["Roll(1)"]["hidden"] else 1, score)
    check(off.get("controlled") and not faults, "after the first visit the service worker controls the page; "
          "offline, it loads again and a roll plays", f"controlled {off.get('controlled')}; " + "; ".join(faults[:3]))


def check_troubles(check, seen):
    check(not seen["troubles"] and not seen.get("errors"), "no native dialog, console error, uncaught error, "
          "unhandled rejection or request off the site; every part ran through",
          "; ".join((seen["troubles"] + seen.get("errors", []))[:5]))


def check_around(check, seen):
    """The page around the game: the live region in the accessibility tree, a kept game, held keys,
    fitting screens, refused files, a slow link and an update behind a caching host."""
    tree = seen.get("logTree") or {}
    check(tree.get("ignored") == 0 and tree.get("children") and tree.get("last") == tree.get("newest"),
          "the accessibility tree holds the log's sentences, the newest as its last child, none ignored", str(tree))

    kept = seen.get("kept")
    if check(kept is not None, "a kept game, spoilt kept data and a new tab were tried"):
        same = [n for n, c in kept["before"]["controls"].items() if kept["after"]["controls"][n] != c]
        check(not same and kept["before"]["focus"] == kept["after"]["focus"] and kept["after"]["state"] == "ready",
              "ten turns come back whole after a reload: every caption, colour and whose turn", str(same[:3]))
        spoilt = control_faults(kept["spoilt"]) + control_faults(kept["newTab"])
        check(not spoilt and "could not be read" in kept["spoilt"]["narration"],
              "kept data that is not a game gives a fresh game and a sentence in the log; a new tab opens a "
              "fresh game", "; ".join(spoilt[:3]) + kept["spoilt"]["narration"][-90:])

    held, faults = seen.get("held", []), []
    played([{"after": h} for h in held[1:]], held[0] if held else {}, {1: 0, 2: 0}, faults)
    check(len(held) == 3 and not faults, "Enter held down plays one turn, and so does Space", "; ".join(faults[:2]))

    def outside(fit):
        (vw, vh), (sw, sh), (left, top, right, bottom) = fit["viewport"], fit["scroll"], fit["form"]
        return not (sw <= vw and sh <= vh and left >= 0 and top >= 0 and right <= vw and bottom <= vh)
    fits = seen.get("fits", [])
    check(len(fits) == 3 and not any(map(outside, fits)), "the board lies inside the viewport with no scrolling "
          "after a phone turns to landscape and back, and at 180 x 320", str([f for f in fits if outside(f)]))
    box = seen.get("fitsBox") or {}
    left, top, right, bottom = box.get("rect", [-1] * 4)
    check(left >= 0 and top >= 0 and right <= 360 and bottom <= 640 and abs(box["font"] - 16 * box["scale"]) < 0.5,
          "on a 360 x 640 phone the result box lies inside the viewport, its text scaled with the board", str(box))
    check(0 < (seen.get("noscript") or 0) < 640, "with JavaScript off, the message that the game needs it is at "
          "the top of the first screen", str(seen.get("noscript")))

    for file in ("tornel.wasm", "tornel.js"):
        r = seen.get("refusals", {}).get(file, {})
        check((r.get("said") or "").startswith("Tornel could not be loaded.") and file.split(".")[0] in r["said"]
              and r["reloaded"] and not r["uncaught"], f"a refused {file} says the game could not be loaded and "
              "why, nothing uncaught reaches the console, and Reload loads the game", str(r))

    slow = seen.get("slowLink", {})
    check(slow.get("paint") and slow["paint"] < slow["ready"], "on a 400 kbit/s link with 400 ms latency the "
          "opening board is painted before the program is ready", str(slow))

    update = seen.get("update", {})
    versions, caches = update.get("versions", []), update.get("caches", [])
    check([v["ready"] for v in versions] == [True, True] and not versions[-1]["a"] and "another-app" in caches
          and len([c for c in caches if c.startswith("tornel-site-")]) == 1
          and update["running"]["controls"]["Die(1)"]["text"] in "123456",
          "behind a host that caches scripts for an hour, every reload after an update pairs a script with its "
          "own program, the new version shows by the second reload, a page still running the old one plays on, "
          "and another app's cache stays", str(update)[:300])


def serve(site):
    server = subprocess.Popen([sys.executable, SERVER, site, "--host", "127.0.0.1", "--port", "0"],
                              stdout=subprocess.PIPE, text=True)
    line = server.stdout.readline()
    found = re.fullmatch(r"Serving Tornel at (http://\S+/)\n", line)
    if not found:
        server.terminate()
        raise RuntimeError(f"the server said {line!r}")
    return server, found[1]


def test(check, site):
    server, url = serve(site)
    try:
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "seen.json")
            subprocess.run([shutil.which("node"), os.path.join(HERE, "play.mjs"), url, out, os.path.dirname(site)],
                           check=True, timeout=300)
            with open(out, encoding="utf-8") as f:
                seen = json.load(f)
    finally:
        server.terminate()
        status = server.wait(10)
    check(status == 0, "the server ends cleanly on SIGTERM", f"status {status}")
    if "opening" in seen:
        check_box(check, seen, *check_game(check, seen))
    check_elsewhere(check, seen)


if __name__ == "__main__":
    xs.main(test, time_limit=360, usage_tail="")
