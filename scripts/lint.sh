#!/usr/bin/env bash
# Runs clang-tidy with the project's checks over the game's own sources; any
# finding makes it fail.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-lint -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DTORNEL_BENCHMARKS=OFF >/dev/null
cmake --build build-lint --target qt_window >/dev/null
out=$(ls rules/*.cpp layout/*.cpp qt/*.cpp | xargs -P "$(nproc)" -n1 clang-tidy -p build-lint --quiet \
    --extra-arg=-Wno-unknown-warning-option 2>/dev/null | grep -E "(warning|error):" || true)
if [[ -n $out ]]; then
    echo "$out"
    exit 1
fi
echo "clang-tidy: no findings"
