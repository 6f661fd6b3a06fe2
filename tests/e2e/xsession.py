"""Plays the built game in a private X server, as a person at the screen would.

Session starts Xvfb, runs the game under its own dbus-run-session, finds windows
by title, clicks and types through XTEST (xdotool), takes pictures of a window,
closes a window the way a window manager does, and reads the accessibility tree
(AT-SPI) in a child process, so that no stuck D-Bus call can stall a test.
Leaving the `with` block stops every process it started, by process group.

Run with Debian's /usr/bin/python3, which has python3-xlib and python3-pyatspi.
"""
import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib
from collections import Counter

from Xlib import X, Xatom, display as xdisplay, error as xerror, protocol

from scoring import CATEGORIES, HIGHLIGHTS, gain_of, lit_categories  # noqa: F401 (shared with the tests)

MESSAGE_TITLE = "Tornel (2-Player)"
WESTON_SOCKET, WESTON_TITLE = "tornel", "Weston Compositor - screen0"
WESTON_SIZE = (800, 600)      # weston's one X window, at the X screen's top left corner

# ---- the game's window, in client pixels --------------------------------------
YELLOW, GREEN, CYAN, WHITE = (255, 255, 0), (0, 255, 0), (0, 255, 255), (255, 255, 255)
MAGENTA, RED, BLACK = (255, 0, 255), (255, 0, 0), (0, 0, 0)
WINDOW_SIZE = (351, 289)
HALF_PAINTED_LIMIT = 0.3     # a still picture of that long, painted half, is what a player notices
DIE = 33
# Die labels of each player, in die order: two columns of three.
DICE = {p: [(x0 + 32 * (i % 2), 32 * (i // 2)) for i in range(6)] for p, x0 in ((1, 0), (2, 288))}
ROLL = {1: (0, 256, 81, 33), 2: (272, 256, 81, 33)}
# Every label: name -> ((x, y, width, height), opening background or None).
LABELS = {f"Die({(p - 1) * 6 + i + 1})": ((x, y, DIE, DIE), YELLOW)
          for p in (1, 2) for i, (x, y) in enumerate(DICE[p])}
for p, x in ((1, 64), (2, 176)):
    LABELS.update({f"Points({p})": ((x, 0, 113, 33), GREEN), f"Score({p})": ((x, 32, 113, 33), GREEN),
                   f"Gain({p})": ((x, 64, 113, 33), CYAN)})
for p, x in ((1, 0), (2, 256)):
    LABELS.update({f"{c}({p})": ((x, 96 + 32 * k, 97, 33), WHITE) for k, c in enumerate(CATEGORIES)})
LABELS.update({"Instructions": ((96, 96, 161, 161), MAGENTA),
               "Turn": ((80, 256, 97, 33), None), "NumTurns": ((176, 256, 97, 33), None)})


def wait_for(probe, timeout, what, step=0.05):
    """Returns the first truthy result of probe(), or raises once timeout seconds pass."""
    end = time.monotonic() + timeout
    while not (result := probe()):
        if time.monotonic() > end:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(step)
    return result


class Shot:
    """A picture of a window: pixel(x, y) -> (r, g, b) in window coordinates."""

    def __init__(self, width, height, bgrx):
        self.width, self.height, self.data = width, height, bgrx

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) is outside the {self.width} x {self.height} picture")
        i = (y * self.width + x) * 4
        b, g, r = self.data[i:i + 3]
        return (r, g, b)

    def region(self, x, y, w, h):
        """The raw pixels of a rectangle (cut at the window's edge), to compare two pictures."""
        w, h = min(w, self.width - x), min(h, self.height - y)
        starts = (((y + r) * self.width + x) * 4 for r in range(h))
        return b"".join(self.data[i:i + w * 4] for i in starts)

    def colours(self, x, y, w, h):
        w, h = min(w, self.width - x), min(h, self.height - y)
        return Counter(self.pixel(i, j) for j in range(y, y + h) for i in range(x, x + w))

    def save_png(self, path):
        rows = b"".join(b"\0" + bytes(v for i in range(self.width) for v in self.pixel(i, r))
                        for r in range(self.height))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height,
                                                                      8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def inside(rect):
    """A rectangle's inside, without the border lines that neighbouring labels share."""
    x, y, w, h = rect
    return (x + 2, y + 2, w - 4, h - 4)


def background(shot, rect):
    """A label's background: the main colour of a small square near its lower right corner,
    away from its caption."""
    x, y, w, h = rect
    return shot.colours(min(x + w, shot.width) - 7, y + h - 7, 4, 4).most_common(1)[0][0]


def roll_shown(shot, player):
    """A shown button draws its dark caption in its middle; a hidden one, or an empty box, does not."""
    x, y, w, h = ROLL[player]
    return sum(n for c, n in shot.colours(x + w // 4, y + 8, w // 2, h - 16).items() if max(c) < 100) > 20


def dice_changed(a, b, player):
    """For each of a player's six dice: does it look different in picture b than in a?"""
    return [a.region(*inside((x, y, DIE, DIE))) != b.region(*inside((x, y, DIE, DIE)))
            for x, y in DICE[player]]


def watch_fresh_window(s, win, last, whole, start, timeout=5):
    """Pictures of the window from start, the key that answers the result box: the seconds until the box
    left the screen, until a picture neither the last game's nor whole ("half"), and until "whole"."""
    seen, place = {}, s.geometry(win)
    while "whole" not in seen and time.monotonic() - start < timeout:
        if "box gone" not in seen and not s.windows(MESSAGE_TITLE):
            seen["box gone"] = time.monotonic() - start
        if win.get_attributes().map_state != X.IsViewable or s.geometry(win) != place:
            return seen, [f"the window was unmapped or moved: {s.geometry(win)}, not {place}"]
        shot, now = s.shot(win), time.monotonic() - start
        if whole(shot):
            seen.update({"whole": now} if "box gone" in seen else {})
        elif any(shot.region(*inside(r)) != last.region(*inside(r)) for r, _ in LABELS.values()):
            seen.setdefault("half", now)
    half = seen.get("whole", timeout) - seen.get("half", timeout)
    faults = [] if "whole" in seen else [f"not whole within {timeout} s: {seen}"]
    return seen, faults + ([f"painted half for {half * 1000:.0f} ms"] if half > HALF_PAINTED_LIMIT else [])


def roll_player(o):
    """The player whose Roll button the accessible object o is, or None: a hidden Roll button
    says what it is for, the one on show ends with who is to roll."""
    found = o["role"] == "push button" and re.search(
        r"(?:Roll the dice for player ([12])|Player ([12]) to roll, round \d+ of 50\.)$", o["description"])
    return int(found[1] or found[2]) if found else None


def at(tree, window_geometry, x, y, roles=None):
    """The shown accessible objects of the game's window whose box starts at client point (x, y)."""
    wx, wy = window_geometry[:2]
    return [o for o in tree if o["x"] - wx == x and o["y"] - wy == y and "showing" in o["states"]
            and o["window"] == "Form1" and (roles is None or o["role"] in roles)]


def captions(tree, window_geometry, names):
    """The text of each named label (see LABELS), or None while any is not found once."""
    found = {n: at(tree, window_geometry, *LABELS[n][0][:2], roles={"label"}) for n in names}
    return {n: f[0]["name"] for n, f in found.items()} if all(len(f) == 1 for f in found.values()) else None


# ---- processes -------------------------------------------------------------
def _start(argv, **kw):
    """Starts a process as the leader of a new process group, so the group can be stopped."""
    return subprocess.Popen(argv, start_new_session=True, **kw)


def _stop_group(proc, grace=3.0):
    """Stops a process started by _start() and everything left in its group."""
    if proc is None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proc.pid, sig)
            proc.wait(timeout=grace)
            break
        except ProcessLookupError:
            break
        except subprocess.TimeoutExpired:
            continue
    try:        # group members that outlived their leader, such as bus services
        os.killpg(proc.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def _read_lines(fd, count, timeout, what):
    data, end = b"", time.monotonic() + timeout
    while data.count(b"\n") < count:
        left = end - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise TimeoutError(f"{what} did not start in {timeout} s")
        if not (part := os.read(fd, 4096)):
            raise RuntimeError(f"{what} ended at start")
        data += part
    return data.decode().split("\n")[:count]


class Session:
    """A private X server with the game running on it; use as a context manager."""

    def __init__(self, binary, accessible=False, window_manager=False, wayland=False, busy=False):
        """window_manager: run a small window manager (evilwm), which gives each new window
        the keyboard focus as a desktop does, before the game starts.
        busy: a busy loop on every core while the session lasts, as on a loaded machine.
        wayland: run the game as a native Wayland client of weston, whose X11 backend shows
        the whole desktop in one X window (WESTON_TITLE) that takes keys typed into it."""
        self.binary, self.accessible, self.window_manager = os.path.abspath(binary), accessible, window_manager
        self.wayland, self.busy, self.loops = wayland, busy, []
        self.xvfb = self.runner = self.watcher = self.reader = self.dpy = self.wm = self.weston = None
        self.runtime_dir = None

    def _start_display(self):
        """Starts Xvfb (and the window manager, if asked for) and connects to it."""
        self.loops = [_start([sys.executable, "-c", f"import os\nwhile os.getppid() == {os.getpid()}: pass"])
                      for _ in os.sched_getaffinity(0) if self.busy]     # each ends with the test, however
        r, w = os.pipe()
        self.xvfb = _start(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-dpi", "96",
                            "-nolisten", "tcp", "-noreset"],
                           pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        self.display_name = ":" + _read_lines(r, 1, 15, "Xvfb")[0]
        os.close(r)
        self.dpy = xdisplay.Display(self.display_name)
        self.root = self.dpy.screen().root
        if self.window_manager:     # Xvfb has no font files: evilwm takes its built-in one
            self.wm = _start(["evilwm", "-fn", "fixed"], env=dict(os.environ, DISPLAY=self.display_name),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: self.root.get_attributes().all_event_masks & X.SubstructureRedirectMask,
                     10, "the window manager")

    def __enter__(self):
        try:
            self._start_display()
            if self.wayland:
                self._start_weston()

            env = {k: v for k, v in os.environ.items()
                   if k not in ("WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "QT_ACCESSIBILITY",
                                "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_QPA_PLATFORM", "NO_AT_BRIDGE")}
            env.update(DISPLAY=self.display_name, **({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
                                                     if self.accessible else {}))
            if self.wayland:
                env.update(WAYLAND_DISPLAY=WESTON_SOCKET, XDG_RUNTIME_DIR=self.runtime_dir,
                           QT_QPA_PLATFORM="wayland")
            # The shell tells its PID (the game's, after exec) and the bus address, then
            # becomes the game, whose standard output goes to stderr.
            script = 'printf "%s\\n%s\\n" "$$" "$DBUS_SESSION_BUS_ADDRESS"; exec "$@" 1>&2'
            self.runner = _start(["dbus-run-session", "--", "sh", "-c", script, "sh", self.binary],
                                 env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
            pid, self.bus_address = _read_lines(self.runner.stdout.fileno(), 2, 15, "the game's session")
            self.game_pid = int(pid)
            # Should the test be killed outright, the watcher sees its pipe close and
            # kills the process groups of the X server, the compositor and the game.
            groups = [str(p.pid) for p in (self.xvfb, self.weston, self.runner) if p]
            self.watcher = _start(["sh", "-c", 'cat >/dev/null; for g; do kill -s KILL -- "-$g"; done', "sh",
                                   *groups],
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        signal.alarm(0)     # the test's time limit must not cut this bounded clean-up short
        _stop_group(self.watcher)       # first, so that it kills nothing later
        _stop_group(self.reader)
        if self.runner and self.runner.poll() is None:
            try:
                os.kill(self.game_pid, signal.SIGTERM)
                self.runner.wait(timeout=3)
            except (AttributeError, ProcessLookupError, subprocess.TimeoutExpired):
                pass
        _stop_group(self.runner)
        _stop_group(self.weston)
        _stop_group(self.wm)
        if self.dpy is not None:
            self.dpy.close()
        _stop_group(self.xvfb)
        for loop in self.loops:
            _stop_group(loop)
        if self.runtime_dir:
            shutil.rmtree(self.runtime_dir, ignore_errors=True)

    def _start_weston(self):
        """Starts weston inside the X server, with its socket in a runtime folder of its own."""
        self.runtime_dir = tempfile.mkdtemp(prefix="tornel-wayland-")
        self.weston = _start(["weston", "--backend=x11-backend.so", f"--socket={WESTON_SOCKET}",
                              f"--width={WESTON_SIZE[0]}", f"--height={WESTON_SIZE[1]}", "--idle-time=0"],
                             env=dict(os.environ, DISPLAY=self.display_name, XDG_RUNTIME_DIR=self.runtime_dir),
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: os.path.exists(os.path.join(self.runtime_dir, WESTON_SOCKET)), 15, "weston's socket")

    def running(self):
        return self.runner.poll() is None

    def wait_exit(self, timeout=10):
        """The game's exit status (dbus-run-session hands it on), or None if it still runs."""
        try:
            return self.runner.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    # ---- windows ----------------------------------------------------------
    def title(self, win):
        for atom, kind in ((self.dpy.intern_atom("_NET_WM_NAME"), self.dpy.intern_atom("UTF8_STRING")),
                           (Xatom.WM_NAME, X.AnyPropertyType)):
            prop = win.get_full_property(atom, kind)
            if prop and prop.value:
                v = prop.value
                return v.decode("utf-8", "replace") if isinstance(v, bytes) else str(v)
        return None

    def windows(self, title, parent=None):
        """The shown top-level windows with exactly this title; under a window manager,
        also those inside its untitled frames."""
        found = []
        for w in (parent or self.root).query_tree().children:
            try:
                if w.get_attributes().map_state != X.IsViewable:
                    continue
                name = self.title(w)
                if name == title:
                    found.append(w)
                elif name is None and parent is None:
                    found += self.windows(title, w)
            except xerror.XError:
                pass        # it went away while we looked
        return found

    def wait_window(self, title, timeout=15):
        return wait_for(lambda: (self.windows(title) or [None])[0], timeout, f"window {title!r}")

    def wait_no_window(self, title, timeout=5):
        wait_for(lambda: not self.windows(title), timeout, f"window {title!r} to close")

    def geometry(self, win):
        """(x, y, width, height) of the client area, x and y on the screen."""
        g, pos = win.get_geometry(), win.translate_coords(self.root, 0, 0)
        return (-pos.x, -pos.y, g.width, g.height)

    def shot(self, win):
        g = win.get_geometry()
        return Shot(g.width, g.height, win.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF).data)

    def settled_shot(self, win, ready=lambda shot: True, timeout=5, what="the window to settle"):
        """A picture of the painted window that satisfies ready() and stays the same for 0.1 s."""
        last = [None]

        def probe():
            shot, prev = self.shot(win), last[0]
            last[0] = shot
            painted = shot.data != shot.data[:4] * (shot.width * shot.height)
            return painted and ready(shot) and prev is not None and prev.data == shot.data and shot
        return wait_for(probe, timeout, what, step=0.1)

    def close(self, win):
        """Asks the window to close, as a window manager does for its close button."""
        protocols, delete = self.dpy.intern_atom("WM_PROTOCOLS"), self.dpy.intern_atom("WM_DELETE_WINDOW")
        win.send_event(protocol.event.ClientMessage(window=win, client_type=protocols,
                                                    data=(32, [delete, X.CurrentTime, 0, 0, 0])))
        self.dpy.flush()

    def check_close_ends_cleanly(self, check, win):
        """Closes the window as a user would and checks the program then ends with status 0."""
        self.close(win)
        status = self.wait_exit(10)
        check(status == 0, "closing the window ends the program with status 0", f"status {status}")

    # ---- input through XTEST ------------------------------------------------
    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True, timeout=10, stdout=subprocess.DEVNULL,
                       env=dict(os.environ, DISPLAY=self.display_name))

    def click(self, win, x, y):
        """A left click at client point (x, y) of the window."""
        self.xdotool("mousemove", "--window", win.id, x, y, "click", "1")

    def key(self, win, *keys):
        """Gives the window the keyboard focus (no window manager does) and types the keys."""
        self.xdotool("windowfocus", win.id, "key", *keys)

    def hold(self, win, key, seconds=1):
        """Holds a key down on the window, as a player leaning on it; the X server repeats it."""
        self.dpy.change_keyboard_control(auto_repeat_mode=X.AutoRepeatModeOn)
        self.xdotool("windowfocus", win.id, "keydown", key, "sleep", seconds, "keyup", key)

    # ---- accessibility --------------------------------------------------------
    def accessible_tree(self, timeout=20):
        """Every accessible object of the game as a dict: role, name, description, window
        (the title of its window), x, y, width, height (screen pixels), states; [] until
        the game has registered."""
        return self._ask_reader("", timeout)

    def press_accessible(self, description, timeout=20):
        """Does the Press action of the game's object with this accessible description, as an
        assistive tool would; returns the object's action names, or None if there is no such object."""
        return self._ask_reader("press " + description, timeout)

    def _ask_reader(self, line, timeout):
        if self.reader is None:
            self.reader = _start([sys.executable, os.path.abspath(__file__), "--read-accessible",
                                  str(self.game_pid)],
                                 env=dict(os.environ, DISPLAY=self.display_name,
                                          DBUS_SESSION_BUS_ADDRESS=self.bus_address),
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.reader.stdin.write(line.encode() + b"\n")
        self.reader.stdin.flush()
        return json.loads(_read_lines(self.reader.stdout.fileno(), 1, timeout, "the accessibility reader")[0])

    def wait_accessible(self, probe, timeout=20, what="accessible objects"):
        """Reads the tree until probe(tree) gives something truthy, and returns that."""
        return wait_for(lambda: probe(self.accessible_tree()), timeout, what, step=0.3)


WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "win32", "wine_run.sh")


class WineSession(Session):
    """A private X server with the Windows build of the game running under Wine, and the test
    driver (tests/win32/driver.cpp) running beside it in the same Wine prefix, to read the
    game's window from inside Windows: ask("controls") returns the driver's answer.

    Without a window manager a Wine top-level is an X window of its client area's size,
    titled by its caption, and a message box is a second one."""

    def __init__(self, binary, driver, prefix, busy=False):
        super().__init__(binary, busy=busy)
        self.driver_exe, self.prefix, self.driver = os.path.abspath(driver), os.path.abspath(prefix), None

    def __enter__(self):
        try:
            self._start_display()
            self.env = dict(os.environ, DISPLAY=self.display_name, WINEPREFIX=self.prefix)
            self.env.pop("WAYLAND_DISPLAY", None)
            self.env.pop("XAUTHORITY", None)
            # wine_run.sh makes the prefix on first use and becomes wine, which hands on the
            # game's exit status.
            self.runner = _start([WINE_RUN, self.prefix, self.binary], env=self.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.game_pid = self.runner.pid
            self.watcher = _start(["sh", "-c", 'cat >/dev/null; kill -s KILL -- "-$1" "-$2"; wineserver -k',
                                   "sh", str(self.xvfb.pid), str(self.runner.pid)], env=self.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except BaseException:
            self.__exit__()
            raise
        return self

    def ask(self, command, timeout=20):
        """One driver command, one answer as a dict; the driver starts at the first question."""
        if self.driver is None:
            self.driver = _start([WINE_RUN, self.prefix, self.driver_exe], env=self.env,
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.driver.stdin.write(command.encode() + b"\n")
        self.driver.stdin.flush()
        return json.loads(_read_lines(self.driver.stdout.fileno(), 1, timeout, "the Windows test driver")[0])

    def __exit__(self, *exc):
        signal.alarm(0)
        if self.driver is not None:
            self.driver.stdin.close()
            _stop_group(self.driver)
        super().__exit__()
        # Every Windows process of the prefix, and its server, end with the session.
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=self.prefix), timeout=10,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _serve_accessible(pid):
    """Answers each line on standard input with the game's accessible objects as one JSON line."""
    import pyatspi

    def walk(node, depth, window, objects):
        if node is None or depth > 30:
            return
        window = (node.name or "") if depth == 1 else window
        ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) if depth else None
        objects.append({"role": node.getRoleName(), "name": node.name or "", "window": window,
                        "description": node.description or "",
                        **{k: getattr(ext, k, 0) for k in ("x", "y", "width", "height")},
                        "states": sorted(pyatspi.stateToString(s) for s in node.getState().getStates())})
        for i in range(node.childCount):
            walk(node.getChildAtIndex(i), depth + 1, window, objects)

    def press(node, description, depth=0):
        if node is None or depth > 30:
            return None
        if depth and node.description == description and "Action" in node.get_interfaces():
            action = node.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            if "press" in (lower := [n.lower() for n in names]):
                action.doAction(lower.index("press"))
            return names
        found = (press(node.getChildAtIndex(i), description, depth + 1) for i in range(node.childCount))
        return next((f for f in found if f is not None), None)

    for line in sys.stdin:
        if line.startswith("press "):
            apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == pid]
            print(json.dumps(press(apps[0], line[6:].rstrip("\n")) if apps else None), flush=True)
            continue
        objects = []
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                walk(app, 0, "", objects)
        print(json.dumps(objects), flush=True)


# ---- running a test script ------------------------------------------------------
class Checks:
    """Counts named checks; each prints one line with the seconds since the start."""

    def __init__(self):
        self.passed = self.failed = 0
        self.started = time.monotonic()

    def __call__(self, ok, what, detail=""):
        self.passed, self.failed = self.passed + bool(ok), self.failed + (not ok)
        print(f"{'ok  ' if ok else 'FAIL'} {time.monotonic() - self.started:5.1f}s {what}"
              + (f": {detail}" if detail and not ok else ""), flush=True)
        return ok


def main(test, time_limit, usage_tail=""):
    """Runs test(checks, binary) within time_limit seconds; ends with a 'N passed, N failed'
    line and exit status 0 only if every check passed. With usage_tail, the script also takes
    one optional argument after the binary, left in sys.argv for the test."""
    if not 2 <= len(sys.argv) <= 2 + bool(usage_tail) or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} PATH_TO_TORNEL{usage_tail}")

    def out_of_time(*_):
        raise TimeoutError(f"the test ran past its {time_limit} s limit")
    signal.signal(signal.SIGALRM, out_of_time)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    signal.alarm(time_limit)
    checks = Checks()
    try:
        test(checks, sys.argv[1])
    except Exception as e:
        traceback.print_exc()
        checks(False, "the run went on to its end", f"{type(e).__name__}: {e}")
    signal.alarm(0)
    print(f"{checks.passed} passed, {checks.failed} failed")
    sys.exit(1 if checks.failed else 0)


def keep_shot(shot, name):
    """Saves a picture for a person to look at after a failure; returns its path."""
    path = os.path.join(os.environ.get("E2E_ARTIFACTS") or tempfile.gettempdir(), f"tornel-{name}.png")
    shot.save_png(path)
    return path


if __name__ == "__main__" and sys.argv[1:2] == ["--read-accessible"]:
    _serve_accessible(int(sys.argv[2]))
