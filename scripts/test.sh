#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: a
# Release build with warnings as errors, and a build under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

jobs=$(nproc)
run_suite() {
    local dir=$1
    shift
    echo "== $dir: configure and build"
    cmake -S . -B "$dir" -G Ninja -DWERROR=ON -DBUILD_TESTING=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    echo "== $dir: tests"
    (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

run_suite build -DCMAKE_BUILD_TYPE=Release
run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTORNEL_SANITIZE=ON
