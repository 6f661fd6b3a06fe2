#!/usr/bin/env bash
# Builds the game as a web page: build-web/site/ holds the whole site (the page with its
# opening board, the program as tornel.<hash>.js and tornel.<hash>.wasm, the manifest, the
# service worker and the icons), and build-web/tornel-<version>-web.zip holds the same
# files for any static web server. Prints the sizes a first visit downloads.
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
# What a first visit downloads: the page (with its style and start-up script), the program
# and its script, the manifest, the service worker and the page's icon; app icons only on install.
first_visit=("$dir"/site/index.html "$dir"/site/sw.js "$dir"/site/manifest.*.webmanifest
    "$dir"/site/tornel.*.js "$dir"/site/tornel.*.wasm "$dir"/site/icons/tornel.*.svg)
for file in "${first_visit[@]}"; do
    total=$((total + $(size "$file")))
    total_gzipped=$((total_gzipped + $(gzipped "$file")))
done
wasm=("$dir"/site/tornel.*.wasm)
script=("$dir"/site/tornel.*.js)
echo "$dir/site: $(basename "${wasm[0]}") $(size "${wasm[0]}") bytes ($(gzipped "${wasm[0]}") gzipped)," \
    "$(basename "${script[0]}") $(size "${script[0]}") bytes ($(gzipped "${script[0]}") gzipped)"
echo "A first visit (page, program, script, manifest, service worker, page icon): $total bytes, $total_gzipped gzipped"
echo "$zip_path: $(size "$zip_path") bytes"
