#!/usr/bin/env bash
# Builds the game as a web page: build-web/site/ holds the whole site (the page, the
# program as tornel.js and tornel.wasm, the style sheet, the manifest, the service
# worker and the icons), and build-web/tornel-<version>-web.zip holds the same files
# for any static web server. Prints the sizes a first visit downloads.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh web
source scripts/reproducible.sh

dir=build-web
emcmake cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j2 --target site

version=$(<"$dir/version.txt")
zip_path=$(realpath "$dir")/tornel-$version-web.zip
rm -f "$dir"/tornel-*-web.zip
pack_zip "$zip_path" "$dir/site"

size() { stat -c %s "$1"; }
gzipped() { gzip -9 -c "$1" | wc -c; }
total=0
total_gzipped=0
for file in "$dir"/site/{index.html,tornel.css,tornel.js,tornel.wasm,manifest.webmanifest,sw.js}; do
    total=$((total + $(size "$file")))
    total_gzipped=$((total_gzipped + $(gzipped "$file")))
done
echo "$dir/site: tornel.wasm $(size "$dir/site/tornel.wasm") bytes ($(gzipped "$dir/site/tornel.wasm") gzipped)," \
    "tornel.js $(size "$dir/site/tornel.js") bytes ($(gzipped "$dir/site/tornel.js") gzipped)"
echo "A first visit (page, style, program, manifest, service worker; icons aside): $total bytes, $total_gzipped gzipped"
echo "$zip_path: $(size "$zip_path") bytes"
