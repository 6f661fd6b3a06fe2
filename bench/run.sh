#!/usr/bin/env bash
# Builds the game and its benchmarks in Release and runs every benchmark once,
# printing each figure next to its target. Not part of the tests.
#
#   bench/run.sh
#
# TORNEL_BENCH_BUILD_DIR picks the build directory (default: a fixed one under
# ${TMPDIR:-/tmp}); the raw results are kept in its bench-results/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh bench

build=${TORNEL_BENCH_BUILD_DIR:-${TMPDIR:-/tmp}/tornel-bench-build}
results="$build/bench-results"
python=/usr/bin/python3 # Debian's, whatever python3 comes first on PATH

echo "== configure and build (Release) in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORNEL_BENCHMARKS=ON \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tornel tornel_window_bench \
    tornel_first_paint tornel_baseline_window tornel_memory_games
mkdir -p "$results" "$results/runtime"
chmod 700 "$results/runtime"

# Repetitions of the different benchmarks of one program run in random order, so
# a ratio to a baseline compares runs of the same period.
gbench_flags=(--benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
    --benchmark_min_time=0.2 --benchmark_report_aggregates_only=false)
offscreen=(env QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
    XDG_RUNTIME_DIR="$results/runtime")

echo "== 1. a turn with its repaint, real window against the bare one, offscreen"
"${offscreen[@]}" "$build/bench/tornel_window_bench" "${gbench_flags[@]}" \
    --benchmark_out="$results/window.json" --benchmark_out_format=json >/dev/null

echo "== 2, 3. start-up, peak memory and idle cost under Xvfb (about a minute)"
# (the private bus's daemon may warn that it cannot raise its file limit: harmless)
if ! dbus-run-session -- "$python" bench/xvfb_bench.py "$build" "$results/xvfb.json" \
        2>"$results/xvfb.log"; then
    cat "$results/xvfb.log" >&2
    exit 1
fi

echo "== 4. memory over 1,000 games through the real window, offscreen (about a minute)"
"${offscreen[@]}" "$build/bench/tornel_memory_games" 1000 >"$results/memory.txt"

"$python" bench/report.py "$results"
