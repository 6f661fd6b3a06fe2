#!/usr/bin/env bash
# Cross-builds the Windows exe and its zip (scripts/build-windows.sh), then measures under
# Wine in a private Xvfb: sizes, start-up against the bare Win32 window, and a turn inside
# the process with its repaint. Not part of the tests; figures in bench/RESULTS.md.
#
#   bench/run-windows.sh [LAUNCHES]   (launches of each program, default 15)
#
# The raw results go to build-windows/bench-results/windows.json.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh bench
./scripts/build-windows.sh
cmake -S . -B build-windows -DTORNEL_BENCHMARKS=ON >/dev/null
cmake --build build-windows -j "$(nproc)" --target win32_baseline win32_turn_bench
mkdir -p build-windows/bench-results
echo "== load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/python3 bench/win32_bench.py build-windows build-windows/bench-results/windows.json "${1:-15}"
