#!/usr/bin/env bash
# Builds the web site (scripts/build-web.sh), then measures it in the machine's Chromium: what a
# first visit downloads, the first paint of the whole opening board and the Roll button taking a
# click against the bare page bench/web_baseline.html, the same paint and the ready game on a
# 400 kbit/s link, and a tap to the frame that shows its result. Not part of the tests; figures
# in bench/RESULTS.md.
#
#   bench/run-web.sh [RUNS [PARTS]]   (page loads of each, default 15; PARTS: see web_bench.mjs)
#
# It drives Chromium with the npm packages that the test command installs (npm ci --prefix
# tests/web); the raw results go to build-web/bench-results/web.json.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build-web.sh
if [[ ! -d tests/web/node_modules/playwright-core ]]; then
    echo "$0: run 'npm ci --prefix tests/web' (or scripts/test.sh) first" >&2
    exit 1
fi
mkdir -p build-web/bench-results
echo "== load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
node bench/web_bench.mjs build-web/site build-web/bench-results/web.json "${1:-15}" ${2:+"$2"}
echo "== load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
