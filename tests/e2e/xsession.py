"""Plays the built game in a private X server, as a person at the screen would.

Session starts Xvfb, runs the game under its own dbus-run-session, finds its
windows, clicks and types through XTEST (xdotool), takes pictures of a window,
closes windows the way a window manager does, and reads the accessibility tree
(AT-SPI) in a child process so that no D-Bus call can hang the test.  Leaving
the `with` block stops every process it started, by process group.

Run with Debian's /usr/bin/python3, which has python3-xlib and python3-pyatspi.
"""
import json
import os
import select
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib

from Xlib import X, Xatom, display as xdisplay, error as xerror, protocol

MESSAGE_TITLE = "Tornel (2-Player)"


def wait_for(probe, timeout, what, step=0.05):
    """Returns the first truthy result of probe(), or raises once timeout seconds pass."""
    end = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > end:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(step)


class Shot:
    """A picture of a window: pixel(x, y) -> (r, g, b) in window coordinates."""

    def __init__(self, width, height, bgrx):
        self.width, self.height, self.data = width, height, bgrx

    def pixel(self, x, y):
        i = (y * self.width + x) * 4
        b, g, r = self.data[i:i + 3]
        return (r, g, b)

    def region(self, x, y, w, h):
        """The raw pixels of a rectangle, to compare two pictures of one control."""
        w = min(w, self.width - x)
        return b"".join(self.data[((y + r) * self.width + x) * 4:((y + r) * self.width + x + w) * 4]
                        for r in range(min(h, self.height - y)))

    def colours(self, x, y, w, h):
        """The set of colours inside a rectangle."""
        return {self.pixel(i, j) for j in range(y, min(y + h, self.height))
                for i in range(x, min(x + w, self.width))}

    def patch_colour(self, x, y, size=4):
        """The most frequent colour of a small square: a background, even next to a letter."""
        counts = {}
        for j in range(y, y + size):
            for i in range(x, x + size):
                c = self.pixel(i, j)
                counts[c] = counts.get(c, 0) + 1
        return max(counts, key=counts.get)

    def save_png(self, path):
        rows = b"".join(b"\0" + bytes(v for i in range(r * self.width, (r + 1) * self.width)
                                      for v in self.pixel(i % self.width, r))
                        for r in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n"
                    + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


# ---- the game's window, in client pixels ------------------------------------
YELLOW, GREEN, CYAN, WHITE = (255, 255, 0), (0, 255, 0), (0, 255, 255), (255, 255, 255)
MAGENTA, RED, BLACK = (255, 0, 255), (255, 0, 0), (0, 0, 0)
WINDOW_SIZE = (351, 289)
DIE = 33
# Die labels of each player, in die order: two columns of three.
DICE = {p: [(x0 + 32 * (i % 2), 32 * (i // 2)) for i in range(6)] for p, x0 in ((1, 0), (2, 288))}
ROLL = {1: (0, 256, 81, 33), 2: (272, 256, 81, 33)}
CATEGORIES = ("Pair", "Triple", "Quad", "Quint", "Tornel")
# Every label: name -> ((x, y, width, height), opening background).
LABELS = {f"Die({(p - 1) * 6 + i + 1})": ((x, y, DIE, DIE), YELLOW)
          for p in (1, 2) for i, (x, y) in enumerate(DICE[p])}
for p, x in ((1, 64), (2, 176)):
    LABELS[f"Points({p})"] = ((x, 0, 113, 33), GREEN)
    LABELS[f"Score({p})"] = ((x, 32, 113, 33), GREEN)
    LABELS[f"Gain({p})"] = ((x, 64, 113, 33), CYAN)
for p, x in ((1, 0), (2, 256)):
    for k, name in enumerate(CATEGORIES):
        LABELS[f"{name}({p})"] = ((x, 96 + 32 * k, 97, 33), WHITE)
LABELS["Instructions"] = ((96, 96, 161, 161), MAGENTA)
LABELS["Turn"] = ((80, 256, 97, 33), None)
LABELS["NumTurns"] = ((176, 256, 97, 33), None)


def inside(rect):
    """A rectangle's inside, without the border that neighbouring labels share."""
    x, y, w, h = rect
    return (x + 2, y + 2, w - 4, h - 4)


def background(shot, rect):
    """A label's background colour, read near its lower right corner, away from its caption."""
    x, y, w, h = rect
    return shot.patch_colour(min(x + w, shot.width) - 7, y + h - 7)


def roll_shown(shot, player):
    """A shown button draws its frame and caption; a hidden one leaves plain window colour."""
    x, y, w, h = ROLL[player]
    return len(shot.colours(x + 3, y + 3, w - 6, h - 6)) > 1


def die_rect(player, i):
    return (*DICE[player][i], DIE, DIE)


def dice_changed(a, b, player):
    """For each of a player's six dice: does it look different in picture b than in a?"""
    return [a.region(*inside(die_rect(player, i))) != b.region(*inside(die_rect(player, i)))
            for i in range(6)]


def _stop_group(proc, grace=3.0):
    """Stops a process started with start_new_session=True, and everything in its group."""
    if proc is None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=grace)
            break
        except subprocess.TimeoutExpired:
            continue
    try:        # whatever of the group ignored the polite signal (bus services)
        os.killpg(proc.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


class Session:
    """A private X server with the game running on it; use as a context manager."""

    def __init__(self, binary, accessible=False, args=()):
        self.binary = os.path.abspath(binary)
        self.accessible = accessible
        self.args = list(args)
        self.xvfb = self.runner = self.game_pid = self.dpy = None
        self.bus_address = None

    # ---- start and stop -------------------------------------------------
    def __enter__(self):
        try:
            self._start_x()
            self._start_game()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        if self.game_pid and self.runner and self.runner.poll() is None:
            try:
                os.kill(self.game_pid, signal.SIGTERM)
                self.runner.wait(timeout=3)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass
        _stop_group(self.runner)
        if self.dpy is not None:
            try:
                self.dpy.close()
            except Exception:
                pass
        _stop_group(self.xvfb)
        return False

    def _start_x(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-dpi", "96",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(w)
        number = b""
        end = time.monotonic() + 15
        while not number.endswith(b"\n"):
            left = end - time.monotonic()
            if left <= 0 or not select.select([r], [], [], left)[0]:
                raise TimeoutError("Xvfb did not report its display")
            part = os.read(r, 16)
            if not part:
                raise RuntimeError("Xvfb exited at start")
            number += part
        os.close(r)
        self.display_name = ":" + number.decode().strip()
        self.dpy = xdisplay.Display(self.display_name)
        self.root = self.dpy.screen().root

    def _start_game(self):
        env = dict(os.environ, DISPLAY=self.display_name, QT_QPA_PLATFORM="xcb")
        for k in ("WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS",
                  "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_ACCESSIBILITY", "NO_AT_BRIDGE"):
            env.pop(k, None)
        if self.accessible:
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        # The shell tells its PID (the game's, after exec) and the bus address,
        # then becomes the game, whose own standard output goes to stderr.
        script = 'printf "%s\\n%s\\n" "$$" "$DBUS_SESSION_BUS_ADDRESS"; exec "$@" 1>&2'
        self.runner = subprocess.Popen(
            ["dbus-run-session", "--", "sh", "-c", script, "sh", self.binary, *self.args],
            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, start_new_session=True)
        lines = b""
        end = time.monotonic() + 15
        while lines.count(b"\n") < 2:
            left = end - time.monotonic()
            if left <= 0 or not select.select([self.runner.stdout], [], [], left)[0]:
                raise TimeoutError("the game's session did not start")
            part = os.read(self.runner.stdout.fileno(), 4096)
            if not part:
                raise RuntimeError("dbus-run-session ended at start")
            lines += part
        pid, address = lines.decode().split("\n")[:2]
        self.game_pid, self.bus_address = int(pid), address

    # ---- the process ----------------------------------------------------
    def running(self):
        return self.runner.poll() is None

    def wait_exit(self, timeout=10):
        """The game's exit status (dbus-run-session hands it on), or None if still running."""
        try:
            return self.runner.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    # ---- windows --------------------------------------------------------
    def title(self, win):
        for atom, kind in ((self.dpy.intern_atom("_NET_WM_NAME"), self.dpy.intern_atom("UTF8_STRING")),
                           (Xatom.WM_NAME, X.AnyPropertyType)):
            prop = win.get_full_property(atom, kind)
            if prop and prop.value:
                v = prop.value
                return v.decode("utf-8", "replace") if isinstance(v, bytes) else str(v)
        return None

    def windows(self, title=None):
        """The viewable top-level windows, optionally only those with this exact title."""
        found = []
        for w in self.root.query_tree().children:
            try:
                if w.get_attributes().map_state != X.IsViewable:
                    continue
                if title is None or self.title(w) == title:
                    found.append(w)
            except xerror.XError:
                continue        # gone while we looked
        return found

    def wait_window(self, title, timeout=15):
        return wait_for(lambda: (self.windows(title) or [None])[0], timeout, f"window {title!r}")

    def wait_no_window(self, title, timeout=5):
        wait_for(lambda: not self.windows(title), timeout, f"window {title!r} to close")

    def geometry(self, win):
        """(x, y, width, height) of the client area, x and y on the screen."""
        g = win.get_geometry()
        pos = win.translate_coords(self.root, 0, 0)
        return (-pos.x, -pos.y, g.width, g.height)

    def shot(self, win):
        g = win.get_geometry()
        img = win.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF)
        return Shot(g.width, g.height, img.data)

    def settled_shot(self, win, ready=lambda shot: True, timeout=5, what="the window to settle"):
        """A picture of a painted window that satisfies ready() and stays the same for 0.1 s."""
        last = [None]

        def probe():
            shot = self.shot(win)
            prev, last[0] = last[0], shot
            painted = shot.data != shot.data[:4] * (shot.width * shot.height)
            if painted and ready(shot) and prev is not None and prev.data == shot.data:
                return shot
        return wait_for(probe, timeout, what, step=0.1)

    def close(self, win):
        """Asks the window to close, as a window manager does for the close button."""
        protocols = self.dpy.intern_atom("WM_PROTOCOLS")
        delete = self.dpy.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=win, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        win.send_event(event, event_mask=X.NoEventMask)
        self.dpy.flush()

    # ---- input through XTEST ---------------------------------------------
    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True, timeout=10,
                       env=dict(os.environ, DISPLAY=self.display_name),
                       stdout=subprocess.DEVNULL)

    def click(self, win, x, y):
        """A left click at client coordinates (x, y) of the window."""
        self.xdotool("mousemove", "--window", win.id, x, y, "click", "1")

    def key(self, win, *keys):
        """Gives the window the keyboard focus (there is no window manager) and types keys."""
        self.xdotool("windowfocus", win.id, "key", *keys)

    # ---- accessibility ---------------------------------------------------
    def accessible_tree(self, timeout=20):
        """Every accessible object of the game: dicts with role, name, description,
        x, y, width, height (screen pixels) and states; [] until the game shows up."""
        out = subprocess.run(
            [sys.executable, os.path.abspath(__file__), "--dump-accessible", str(self.game_pid)],
            env=dict(os.environ, DISPLAY=self.display_name, DBUS_SESSION_BUS_ADDRESS=self.bus_address),
            capture_output=True, text=True, timeout=timeout)
        if out.returncode != 0:
            raise RuntimeError("accessibility dump failed: " + out.stderr.strip()[-500:])
        return json.loads(out.stdout)

    def wait_accessible(self, probe, timeout=20, what="accessible objects"):
        """Reads the tree until probe(tree) gives something truthy, and returns that."""
        return wait_for(lambda: probe(self.accessible_tree()), timeout, what, step=0.3)


def at(tree, window_geometry, x, y, roles=None):
    """The accessible objects whose box starts at client point (x, y) of the window."""
    wx, wy = window_geometry[:2]
    return [o for o in tree if o["x"] - wx == x and o["y"] - wy == y and "showing" in o["states"]
            and (roles is None or o["role"] in roles)]


def _dump_accessible(pid):
    import pyatspi
    objects = []

    def walk(node, depth):
        if node is None or depth > 30:
            return
        ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) if depth else None
        states = node.getState().getStates()
        objects.append({"role": node.getRoleName(), "name": node.name or "",
                        "description": node.description or "",
                        "x": ext.x if ext else 0, "y": ext.y if ext else 0,
                        "width": ext.width if ext else 0, "height": ext.height if ext else 0,
                        "states": sorted(pyatspi.stateToString(s) for s in states)})
        for i in range(node.childCount):
            walk(node.getChildAtIndex(i), depth + 1)

    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            walk(app, 0)
    print(json.dumps(objects))


class Checks:
    """Counts named checks and ends the run with a 'N passed, N failed' line."""

    def __init__(self):
        self.passed = self.failed = 0

    def __call__(self, ok, what, detail=""):
        if ok:
            self.passed += 1
            print(f"ok   {what}")
        else:
            self.failed += 1
            print(f"FAIL {what}" + (f": {detail}" if detail else ""))
        return ok


def main(test, time_limit):
    """Runs test(checks) within time_limit seconds and exits 0 only if every check passed."""
    def out_of_time(*_):
        raise TimeoutError(f"the test ran past its {time_limit} s limit")
    signal.signal(signal.SIGALRM, out_of_time)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    signal.alarm(time_limit)
    checks = Checks()
    started = time.monotonic()
    if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} PATH_TO_TORNEL")
    try:
        test(checks, sys.argv[1])
    except Exception as e:
        traceback.print_exc()
        checks(False, "the run went on to its end", f"{type(e).__name__}: {e}")
    finally:
        signal.alarm(0)
    print(f"({time.monotonic() - started:.1f} s)")
    print(f"{checks.passed} passed, {checks.failed} failed")
    sys.exit(1 if checks.failed else 0)


def keep_shot(shot, name):
    """Saves a picture for a person to look at after a failure; returns its path."""
    folder = os.environ.get("E2E_ARTIFACTS") or tempfile.gettempdir()
    path = os.path.join(folder, f"tornel-{name}.png")
    shot.save_png(path)
    return path


if __name__ == "__main__" and len(sys.argv) == 3 and sys.argv[1] == "--dump-accessible":
    _dump_accessible(int(sys.argv[2]))
