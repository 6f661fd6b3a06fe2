#!/usr/bin/env bash
# Runs clang-tidy with the project's checks over the game's own sources, the Qt
# build's, the Windows build's (with the cross compiler's headers) and the web build's
# (with emscripten's); any finding makes it fail.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-lint -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DTORNEL_BENCHMARKS=OFF >/dev/null
cmake --build build-lint --target qt_window >/dev/null
cmake -S . -B build-windows-lint -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DBUILD_TESTING=OFF >/dev/null
emcmake cmake -S . -B build-web-lint -G Ninja \
    -DBUILD_TESTING=OFF >/dev/null

gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
windows_args=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++)
for dir in include/c++ include/c++/x86_64-w64-mingw32 include/c++/backward; do
    windows_args+=("--extra-arg=-isystem$gcc_dir/$dir")
done

tidy() {
    xargs -P "$(nproc)" -n1 clang-tidy --quiet --extra-arg=-Wno-unknown-warning-option "$@" \
        2>/dev/null | grep -E "(warning|error):" || true
}
out=$(ls rules/*.cpp layout/*.cpp qt/*.cpp | tidy -p build-lint)
out+=$(ls win32/*.cpp | tidy -p build-windows-lint "${windows_args[@]}")
# The web build, on emscripten's own headers; the rules' conversions are checked again
# there for their fallback. Under that target clang-tidy 14 takes the control table,
# constant-initialised on every platform, for one that may be initialised at run time.
web_args=(--extra-arg=--target=wasm32-unknown-emscripten
    --extra-arg=--sysroot=/usr/share/emscripten/cache/sysroot --extra-arg=-D__EMSCRIPTEN__
    --extra-arg=-Xclang --extra-arg=-iwithsysroot/include/compat
    --checks=-bugprone-dynamic-static-initializers)
out+=$(ls web/*.cpp rules/conversions.cpp | tidy -p build-web-lint "${web_args[@]}")
if [[ -n $out ]]; then
    echo "$out"
    exit 1
fi
echo "clang-tidy: no findings"
