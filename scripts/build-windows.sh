#!/usr/bin/env bash
# Cross-builds the game for 64-bit Windows: build-windows/tornel.exe, one exe with
# nothing to install, and build-windows/tornel-<version>-windows-x64.zip holding it
# with a short README for players and the licence. Both are the same byte for byte
# from any build of the same source (scripts/reproduce.sh checks it).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh windows
source scripts/reproducible.sh

dir=build-windows
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j2 --target tornel

version=$(<"$dir/version.txt")
zip_path=$(realpath "$dir")/tornel-$version-windows-x64.zip
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT

# The MIT text of the Debian copyright file, as Windows users expect it: a
# heading, the copyright line, and paragraphs with CRLF line ends.
licence() {
    echo "MIT License"
    echo
    sed -n 's/^Copyright: */Copyright (c) /p' packaging/linux/copyright | head -n 1
    echo
    awk '/^License: MIT$/ { text = ""; inside = 1; next }
         inside && /^ / { line = substr($0, 2); text = text (line == "." ? "" : line) "\n"; next }
         { inside = 0 }
         END { printf "%s", text }' packaging/linux/copyright
}

cp "$dir/tornel.exe" "$staging/tornel.exe"
sed 's/$/\r/' packaging/windows/README.txt >"$staging/README.txt"
licence | sed 's/$/\r/' >"$staging/LICENSE.txt"
rm -f "$dir"/tornel-*-windows-x64.zip
pack_zip "$zip_path" "$staging"
echo "$zip_path: $(stat -c %s "$zip_path") bytes (tornel.exe $(stat -c %s "$dir/tornel.exe") bytes)"
