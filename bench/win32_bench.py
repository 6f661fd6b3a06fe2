#!/usr/bin/python3
"""The Windows build's figures under Wine in one private Xvfb: the sizes of the exe and the
zip, launch to window mapped of tornel.exe against the bare window with the same 38 controls
(interleaved, the order swapping every pair, after untimed warm-ups), and a turn inside the
process with its repaint (bench/win32_turn_bench.cpp).

Usage: win32_bench.py BUILD_WINDOWS_DIR RESULTS_JSON [LAUNCHES]
"""
import glob
import json
import os
import select
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import xsession as xs  # noqa: E402

from Xlib import X  # noqa: E402


def launch_to_mapped(s, env, exe):
    """Seconds from the start of `wine exe` to the X map of its window "Form1"; then closes it."""
    while s.dpy.pending_events():
        s.dpy.next_event()
    start = time.monotonic()
    game = subprocess.Popen(["wine", exe], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    try:
        end = start + 30
        while True:
            if not s.dpy.pending_events() and not select.select([s.dpy.fileno()], [], [], end - time.monotonic())[0]:
                raise TimeoutError(f"{exe} showed no window in 30 s")
            event = s.dpy.next_event()
            if event.type == X.MapNotify and s.title(event.window) == "Form1":
                mapped = time.monotonic() - start
                break
        s.close(event.window)
        if game.wait(timeout=15) != 0:
            raise RuntimeError(f"{exe} ended with status {game.returncode}")
        return mapped
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()


def startup(s, env, exes, launches):
    for exe in exes * 3:     # warm-up: the prefix's files and the page cache
        launch_to_mapped(s, env, exe)
    times = {exe: [] for exe in exes}
    for pair in range(launches):
        for exe in exes if pair % 2 == 0 else exes[::-1]:
            times[exe].append(launch_to_mapped(s, env, exe))
    return times


def main(build, out, launches):
    game, baseline = os.path.join(build, "tornel.exe"), os.path.join(build, "bench", "win32_baseline.exe")
    zips = glob.glob(os.path.join(build, "tornel-*-windows-x64.zip"))
    results = {"exe_bytes": os.path.getsize(game), "zip_bytes": os.path.getsize(zips[0]) if zips else None}
    s = xs.Session("/bin/true")
    prefix = os.path.abspath(os.path.join(build, "bench-wineprefix"))
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    try:
        s._start_display()
        env["DISPLAY"] = s.display_name
        s.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        subprocess.run([xs.WINE_RUN, prefix, "cmd", "/c", "exit"], env=env, check=True, timeout=120,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=env, check=True, timeout=30)
        subprocess.run(["wineserver", "-p"], env=env, check=True, timeout=30)     # one server for every launch
        times = startup(s, env, [game, baseline], launches)
        pairs = [g / b for g, b in zip(times[game], times[baseline])]
        results["startup"] = {"game_s": times[game], "baseline_s": times[baseline],
                              "game_median_s": statistics.median(times[game]),
                              "baseline_median_s": statistics.median(times[baseline]),
                              "ratio_of_medians": statistics.median(times[game]) / statistics.median(times[baseline]),
                              "pair_ratios_median": statistics.median(pairs),
                              "pair_ratios_range": [min(pairs), max(pairs)]}
        turn_bench = os.path.join(build, "bench", "win32_turn_bench.exe")
        results["turn_runs"] = [json.loads(subprocess.run(["wine", turn_bench, "10"], env=env, check=True,
                                                          capture_output=True, timeout=300).stdout)
                                for _ in range(3)]
    finally:
        subprocess.run(["wineserver", "-k"], env=env, timeout=10, stderr=subprocess.DEVNULL)
        s.__exit__()
    with open(out, "w") as f:
        json.dump(results, f, indent=1)
    st = results["startup"]
    print(f"exe {results['exe_bytes']} bytes ({results['exe_bytes'] / 1024:.0f} KiB, target <= 1024 KiB); "
          f"zip {results['zip_bytes']} bytes")
    print(f"launch to window mapped, {launches} each: game {1000 * st['game_median_s']:.0f} ms, "
          f"bare window {1000 * st['baseline_median_s']:.0f} ms, ratio {st['ratio_of_medians']:.3f} "
          f"(pairs: median {st['pair_ratios_median']:.3f}, {st['pair_ratios_range'][0]:.3f}-"
          f"{st['pair_ratios_range'][1]:.3f}; target <= 1.10)")
    for run in results["turn_runs"]:
        t, e = run["turn_with_repaint"], run["game_ending_turn"]
        print(f"turn with repaint: median {t['median']:.1f} us (p10 {t['p10']:.1f}, p90 {t['p90']:.1f}, "
              f"n {t['n']}; target < 1000 us); game-ending turn {e['median']:.0f} us")


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__.strip().splitlines()[-1])
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]) if len(sys.argv) == 4 else 15)
