#!/usr/bin/env bash
# Builds the game as a web page: build-web/site/ holds the whole site (the page with its
# style sheet, the program as tornel.<hash>.js and tornel.<hash>.wasm, the manifest, the
# service worker and the icons), and build-web/tornel-<version>-web.zip holds the same files
# for any static web server. Prints the sizes a first visit downloads.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh web

dir=build-web
emcmake cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j2 --target site

version=$(<"$dir/version.txt")
zip_path=$(realpath "$dir")/tornel-$version-web.zip
rm -f "$dir"/tornel-*-web.zip
(cd "$dir/site" && zip -q -X -9 -r "$zip_path" .)

size() { stat -c %s "$1"; }
gzipped() { gzip -9 -c "$1" | wc -c; }
# The program's files are named after their contents (tornel.<hash>.js and .wasm).
site=$dir/site
wasm=$(echo "$site"/tornel.*.wasm)
script=$(echo "$site"/tornel.*.js)
total=0
total_gzipped=0
# What a first visit fetches: the page (its style sheet inline), the program, the worker, and
# what the worker keeps besides: the manifest and the icon.
for file in "$site/index.html" "$script" "$wasm" "$site/sw.js" "$site"/manifest.*.webmanifest \
        "$site"/icons/tornel.*.svg; do
    total=$((total + $(size "$file")))
    total_gzipped=$((total_gzipped + $(gzipped "$file")))
done
echo "$site: $(basename "$wasm") $(size "$wasm") bytes ($(gzipped "$wasm") gzipped)," \
    "$(basename "$script") $(size "$script") bytes ($(gzipped "$script") gzipped)"
echo "A first visit (page, program, service worker, manifest, icon): $total bytes, $total_gzipped gzipped"
echo "$zip_path: $(size "$zip_path") bytes"
