#!/usr/bin/python3
"""The web page in one browser engine: the steps of tests/web/steps.mjs (a whole game by clicks
and keys, the result box closed by Enter, the fresh game, the focus ring in light and dark, a
reload once the site's server has stopped) played by that engine's driver, and what it saw held
against the one expected layout and the one rule of a roll with test_page.py's checks.

Usage: test_engines.py SITE_DIR ENGINE   ENGINE: firefox or webkit
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

import test_page as page
from test_page import xs

HERE = os.path.dirname(os.path.abspath(__file__))


def has_ring(ring, dark):
    style, width = ring["outline"]
    return ring["focus"].startswith("Roll(") and ring["dark"] == dark and (
        style != "none" and width > 0 or ring["shadow"] != "none")


def check_rings(check, engine, rings):
    keyed = all(r and has_ring(r, dark) for r, dark in ((rings.get("light"), False), (rings.get("dark"), True)))
    check(keyed, "after a key turn the showing Roll button has a visible focus ring, in light and in dark",
          str(rings))
    # Firefox and WebKit draw their own ring of a focus that the page moves only when the
    # element that had the focus showed one, as after a click on the box's backdrop and Enter.
    fresh = rings.get("fresh")
    check(fresh and has_ring(fresh, False), "after the box closes Roll(1) shows its focus ring", str(fresh))


def test(check, site):
    engine = sys.argv[2]
    node = shutil.which("node")
    version = subprocess.run([node, "--version"], capture_output=True, text=True, check=True).stdout
    flags = ["--experimental-websocket"] if int(version.strip("v").split(".")[0]) < 22 else []
    server, url = page.serve(site)
    # The driver and all it starts (browser, X server) form one process group, ended here
    # whatever happens; their temporary files go into a folder removed here.
    try:
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(os.environ.get("E2E_ARTIFACTS") or tmp, f"seen-{engine}.json")
            runner = xs._start([node, *flags, os.path.join(HERE, f"{engine}.mjs"), url, out, str(server.pid)],
                               env={**os.environ, "TMPDIR": tmp})
            try:
                ran = runner.wait(150)
            finally:
                xs._stop_group(runner)
            with open(out, encoding="utf-8") as f:
                seen = json.load(f)
    finally:
        server.terminate()
        status = server.wait(10)
    check(ran == 0, f"the {engine} driver ran to its end", f"status {ran}")
    check(status == 0, "the server ends cleanly on SIGTERM", f"status {status}")
    print(f"{engine}: {seen['times']} ms", flush=True)
    if "turns" in seen:
        page.check_box(check, seen, *page.check_turns(check, seen))
    check_rings(check, engine, seen["rings"])
    page.check_offline(check, seen)
    page.check_troubles(check, seen)


if __name__ == "__main__":
    xs.main(test, time_limit=170, usage_tail=" ENGINE")
