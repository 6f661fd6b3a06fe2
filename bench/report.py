"""Prints every benchmark figure next to its target, from the files bench/run.sh wrote.

    /usr/bin/python3 bench/report.py RESULTS_DIR

Times are medians over the repetitions (min-max after them); a ratio to the
baseline is the ratio of the two medians of the same run, with the min-max of the
ratios of repetitions paired by their index.
"""
import json
import os
import statistics
import sys

rows = []
misses = []


def row(figure, measured, target, met):
    rows.append((figure, measured, target, "met" if met else "MISSED"))
    if not met:
        misses.append(figure)


def repetitions(path):
    with open(path) as f:
        data = json.load(f)
    runs = {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
        name = b["run_name"].removesuffix("/real_time")
        runs.setdefault(name, {})[b.get("repetition_index", 0)] = (
            b["real_time"] * scale, b["cpu_time"] * scale)
    return data["context"], runs


def stats(values):
    return statistics.median(values), min(values), max(values)


def fmt(value, unit):
    if unit == "us" and value >= 1000:
        return f"{value / 1000:.3g} ms"
    return f"{value:.3g} {unit}"


def timing(runs, name):
    reps = runs[name]
    wall = stats([v[0] for v in reps.values()])
    cpu = stats([v[1] for v in reps.values()])
    return wall, cpu, len(reps)


def describe(wall, cpu, count):
    return (f"{fmt(wall[0], 'us')} ({fmt(wall[1], 'us')}-{fmt(wall[2], 'us')}), "
            f"CPU {fmt(cpu[0], 'us')}; {count} runs")


def ratio(runs, name, base):
    a, b = runs[name], runs[base]
    pairs = [a[i][0] / b[i][0] for i in sorted(a) if i in b]
    med = statistics.median(v[0] for v in a.values()) / statistics.median(v[0] for v in b.values())
    return med, min(pairs), max(pairs)


def main():
    out = sys.argv[1]
    load = []

    context, runs = repetitions(os.path.join(out, "window.json"))
    load.append(("window", context.get("load_avg")))
    wall, cpu, n = timing(runs, "window_turn/pending_repaint")
    row("real window turn + repaint (offscreen)", describe(wall, cpu, n), "< 1 ms", wall[0] < 1000)
    bwall, bcpu, bn = timing(runs, "baseline_update/pending_repaint")
    rows.append(("baseline 20 captions + 10 colours + repaint", describe(bwall, bcpu, bn), "", ""))
    med, lo, hi = ratio(runs, "window_turn/pending_repaint", "baseline_update/pending_repaint")
    row("turn / baseline update, same run", f"{med:.2f} x (pairs {lo:.2f}-{hi:.2f})", "<= 1.20 x",
        med <= 1.20)

    with open(os.path.join(out, "xvfb.json")) as f:
        x = json.load(f)
    fp, rss = x["first_paint_ms"], x["peak_rss_kib"]
    for name, label in [("game", "start-up to first paint, game (Xvfb)"),
                        ("baseline", "start-up to first paint, baseline (Xvfb)")]:
        s = fp[name]
        rows.append((label, f"{s['median']:.1f} ms ({s['min']:.1f}-{s['max']:.1f}); {s['runs']} runs",
                     "", ""))
    med = fp["game"]["median"] / fp["baseline"]["median"]
    pr = x["first_paint_pair_ratio"]
    row("start-up game / baseline", f"{med:.3f} x (pairs: median {pr['median']:.3f}, "
        f"{pr['min']:.3f}-{pr['max']:.3f})", "<= 1.10 x", med <= 1.10)
    for name, label in [("game", "peak RSS, game"), ("baseline", "peak RSS, baseline")]:
        s = rss[name]
        rows.append((label, f"{s['median'] / 1024:.2f} MiB ({s['min'] / 1024:.2f}-"
                     f"{s['max'] / 1024:.2f})", "", ""))
    med = rss["game"]["median"] / rss["baseline"]["median"]
    pr = x["peak_rss_pair_ratio"]
    row("peak RSS game / baseline", f"{med:.3f} x (pairs {pr['min']:.3f}-{pr['max']:.3f})",
        "<= 1.05 x", med <= 1.05)
    idle = x["idle"]
    row("idle CPU of the shown game, 10 s (Xvfb)",
        f"{idle['ticks']} ticks (utime {idle['utime']}, stime {idle['stime']}; "
        f"{idle['clock_ticks_per_second']} ticks/s)", "0 ticks", idle["ticks"] == 0)

    marks = {}
    with open(os.path.join(out, "memory.txt")) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 4 and parts[0] == "games":
                marks[int(parts[1])] = int(parts[3])
    after10, last = marks[10], max(marks)
    grow = marks[last] - after10
    row(f"RSS after {last} games - after 10 (offscreen)",
        f"{grow} KiB ({after10} -> {marks[last]} KiB)", "<= 1024 KiB", abs(grow) <= 1024)

    width = [max(len(r[i]) for r in rows) for i in range(3)]
    print()
    print(f"{'figure':<{width[0]}}  {'measured: median (min-max)':<{width[1]}}  "
          f"{'target':<{width[2]}}  verdict")
    for r in rows:
        print(f"{r[0]:<{width[0]}}  {r[1]:<{width[1]}}  {r[2]:<{width[2]}}  {r[3]}")
    for name, value in load:
        if value:
            print(f"load average at the start of the {name} benchmarks: "
                  + ", ".join(f"{v:.2f}" for v in value))
    print("wall-clock medians decide; CPU time is shown because this machine may be shared")
    if misses:
        print("missed: " + "; ".join(misses))


if __name__ == "__main__":
    main()
