#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: a
# Release build with warnings as errors, and a build under AddressSanitizer and
# UndefinedBehaviorSanitizer; then cross-builds the Windows exe and its zip and runs
# the Windows tests under Wine; then builds the web site and plays its page in Chromium, Firefox and WebKit;
# last, builds the published files again elsewhere and checks that they come out the same.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh test

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

# The Windows build: the exe and its zip as players get them, then the tests built in
# the same folder and run under Wine (one prefix of the build's own, made on first use).
# Warnings are errors there too: set first, so that the exe is compiled only once.
echo "== build-windows: cross-build, zip, tests under Wine"
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DWERROR=ON -DBUILD_TESTING=ON >/dev/null
./scripts/build-windows.sh
cmake --build build-windows -j "$jobs"
(cd build-windows && ctest --output-on-failure -j "$jobs")

# The web build: the site as players get it, then its tests in the same folder; the browser
# tests drive the machine's Chromium, Firefox and WebKit with the npm packages pinned in tests/web's lock.
# Warnings are errors there too: set first, so that the site is compiled only once.
# Emscripten's own tools need Debian's JavaScript modules when the node on the search path
# is not Debian's.
echo "== build-web: site, tests in Chromium, Firefox and WebKit"
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DWERROR=ON -DBUILD_TESTING=ON >/dev/null
./scripts/build-web.sh
npm ci --prefix tests/web --no-audit --no-fund
cmake --build build-web -j "$jobs"
(cd build-web && ctest --output-on-failure -j "$jobs")

# The published files once more, from a copy of the source in another folder, at least a
# minute later, with another time zone, locale and umask: the Windows zip, the web site
# and its zip and the Debian package must come out the same byte for byte as the builds above.
echo "== reproducible: a second build of the published files"
./scripts/reproduce.sh --reuse
