#!/usr/bin/env bash
# Fuzzes the caption conversions with libFuzzer, apart from the main build:
#   scripts/fuzz.sh [seconds, 600 unless given] [work folder, build-fuzz unless given]
# New inputs go into the work folder's corpus, never into the committed seeds. A finding is
# kept there as crash-*: replay it with `<work folder>/conversions_fuzzer crash-...`, then add
# it to tests/fuzz/corpus/ and as a case of the conversion tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
work=${2:-$root/build-fuzz}
mkdir -p "$work/corpus"
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "$root/rules/conversions.cpp" "$root/rules/error.cpp" \
    "$root/tests/fuzz/conversions_fuzzer.cpp" -o "$work/conversions_fuzzer"
cd "$work"
./conversions_fuzzer -max_total_time="$seconds" -timeout=10 -max_len=512 -print_final_stats=1 \
    corpus "$root/tests/fuzz/corpus"
