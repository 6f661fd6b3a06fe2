"""Start-up, peak memory and idle cost of the real game window under Xvfb.

Run with Debian's /usr/bin/python3 inside `dbus-run-session` (bench/run.sh does
both), so every program shares one private session bus that ends with the run:

    dbus-run-session -- /usr/bin/python3 bench/xvfb_bench.py BUILD_DIR OUT.json

Start-up: tornel_first_paint (the game's window built as qt/main.cpp builds it)
and tornel_baseline_window (a bare window with the same 38 widgets) each print
the monotonic clock once their first paint is done, then exit. Launch to first
paint is that stamp minus the clock read just before the launch; peak RSS is
ru_maxrss of the child from wait4(). The two programs take turns, the order
swapping every pair, after a few untimed warm-up launches.

Idle: the real game (BUILD_DIR/tornel) is started, its window found shown
(xdotool), left 1 s to settle, then its utime + stime ticks from /proc/PID/stat
are read before and after 10 s without input.
"""
import json
import os
import select
import signal
import statistics
import subprocess
import sys
import tempfile
import time

PAIRS = int(os.environ.get("TORNEL_BENCH_PAIRS", "20"))
WARMUPS = 3
IDLE_SECONDS = 10.0


def start_xvfb():
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-dpi", "96",
         "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_fd)
    number = b""
    deadline = time.monotonic() + 30
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([read_fd], [], [], max(0.0, deadline - time.monotonic()))
        if not ready:
            raise TimeoutError("Xvfb did not report its display")
        chunk = os.read(read_fd, 16)
        if not chunk:
            raise RuntimeError("Xvfb exited at start")
        number += chunk
    os.close(read_fd)
    return proc, ":" + number.decode().strip()


def stop(proc):
    """Stops a process this script started, by its PID, and reaps it."""
    if proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def launch_to_first_paint(binary, env):
    """(ms from launch to first paint done, ms from launch to exit, peak RSS KiB)."""
    start = time.monotonic_ns()
    proc = subprocess.Popen([binary], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    output = proc.stdout.read()
    _, status, usage = os.wait4(proc.pid, 0)
    end = time.monotonic_ns()
    proc.returncode = os.waitstatus_to_exitcode(status)
    proc.stdout.close()
    if proc.returncode != 0:
        raise RuntimeError(f"{binary} exited with {proc.returncode}")
    stamp = None
    for line in output.decode().splitlines():
        if line.startswith("first-paint-ns "):
            stamp = int(line.split()[1])
    if stamp is None:
        raise RuntimeError(f"{binary} printed no first-paint stamp")
    return (stamp - start) / 1e6, (end - start) / 1e6, usage.ru_maxrss


def summary(values):
    return {"median": statistics.median(values), "min": min(values), "max": max(values),
            "runs": len(values)}


def ticks(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # After the command's closing parenthesis, utime and stime are fields 12 and 13.
    return int(fields[11]), int(fields[12])


def idle_cost(binary, env):
    proc = subprocess.Popen([binary], env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        found = subprocess.run(["timeout", "30", "xdotool", "search", "--sync", "--onlyvisible",
                                "--pid", str(proc.pid)], env=env, capture_output=True, text=True)
        if found.returncode != 0 or not found.stdout.strip():
            raise RuntimeError("the game's window did not appear")
        time.sleep(1.0)
        before = ticks(proc.pid)
        time.sleep(IDLE_SECONDS)
        after = ticks(proc.pid)
        if proc.poll() is not None:
            raise RuntimeError("the game ended while idle")
    finally:
        stop(proc)
    return {"utime": after[0] - before[0], "stime": after[1] - before[1],
            "ticks": (after[0] - before[0]) + (after[1] - before[1]),
            "seconds": IDLE_SECONDS, "clock_ticks_per_second": os.sysconf("SC_CLK_TCK")}


def main():
    build, out_path = sys.argv[1], sys.argv[2]
    game = os.path.join(build, "bench", "tornel_first_paint")
    base = os.path.join(build, "bench", "tornel_baseline_window")
    real = os.path.join(build, "tornel")
    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp(prefix="tornel-bench-runtime-")
    env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
    env.update(DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
    try:
        for _ in range(WARMUPS):
            launch_to_first_paint(game, env)
            launch_to_first_paint(base, env)
        runs = {"game": [], "baseline": []}
        for pair in range(PAIRS):
            order = [("game", game), ("baseline", base)]
            if pair % 2:
                order.reverse()
            for name, binary in order:
                runs[name].append(launch_to_first_paint(binary, env))
        start_ratio = [g[0] / b[0] for g, b in zip(runs["game"], runs["baseline"])]
        rss_ratio = [g[2] / b[2] for g, b in zip(runs["game"], runs["baseline"])]
        result = {
            "pairs": PAIRS,
            "first_paint_ms": {n: summary([r[0] for r in v]) for n, v in runs.items()},
            "exit_ms": {n: summary([r[1] for r in v]) for n, v in runs.items()},
            "peak_rss_kib": {n: summary([r[2] for r in v]) for n, v in runs.items()},
            "first_paint_pair_ratio": summary(start_ratio),
            "peak_rss_pair_ratio": summary(rss_ratio),
            "raw": runs,
        }
        result["idle"] = idle_cost(real, env)
    finally:
        stop(xvfb)
        try:
            os.rmdir(runtime)
        except OSError:
            pass
    with open(out_path, "w") as out:
        json.dump(result, out, indent=1)


if __name__ == "__main__":
    main()
