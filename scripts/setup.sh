#!/usr/bin/env bash
# Installs the Debian 12 packages that one purpose needs, and only the ones that are
# missing, so a machine that has them all is left alone and a player never waits for
# the test tools.
#
#   scripts/setup.sh PURPOSE...   PURPOSE: play, web, windows, package, reproduce, bench, test
#   scripts/setup.sh --missing PURPOSE...   prints what is missing, installs nothing
set -euo pipefail

# Building the Qt game and playing it, with the faces its captions are drawn in.
play=(cmake g++ ninja-build pkgconf qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core fonts-liberation2)
# Building the web page and serving it on this machine.
web=(cmake ninja-build emscripten python3 zip)
# Cross-building the Windows exe and packing its zip.
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix zip)
# The Debian package and its checks.
package=("${play[@]}" devscripts desktop-file-utils appstream lintian dpkg-dev)
# Checking that two builds give the same published files, the second in a locale of its own.
reproduce=("${windows[@]}" "${web[@]}" "${package[@]}" locales)
# The benchmarks: the Qt figures under Xvfb, the Windows ones under Wine, the web ones in Chromium.
bench=("${play[@]}" "${windows[@]}" "${web[@]}" libbenchmark-dev xvfb xauth dbus
    python3-xlib wine wine64 chromium)
# Everything the test command builds and runs: the Qt window offscreen, in X11 and on
# Wayland, the sanitizers, the packaging checks, the Windows build under Wine, the
# web page in Chromium, Firefox and WebKit, and the second build of the published files.
test=("${reproduce[@]}" libgtest-dev
    googletest xvfb xauth xdotool dbus python3-xlib at-spi2-core python3-pyatspi evilwm
    valgrind clang-14 libclang-rt-14-dev locales
    weston qt6-wayland qt6ct wine wine64 chromium firefox-esr webkit2gtk-driver)

list_only=false
if [[ ${1:-} == --missing ]]; then
    list_only=true
    shift
fi
(($#)) || { echo "usage: $0 [--missing] play|web|windows|package|reproduce|bench|test..." >&2; exit 2; }

wanted=()
for purpose in "$@"; do
    case $purpose in
    play | web | windows | package | reproduce | bench | test) ;;
    *) echo "$0: no such purpose: $purpose" >&2; exit 2 ;;
    esac
    declare -n list=$purpose
    wanted+=("${list[@]}")
done
# The tests drive the browser with npm's tools; Node.js from elsewhere may bring its own npm.
if [[ " $* " == *" test "* ]] && ! command -v npm >/dev/null; then
    wanted+=(npm)
fi

missing=()
for p in $(printf '%s\n' "${wanted[@]}" | sort -u); do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done

if $list_only; then
    printf '%s\n' "${missing[@]}"
    exit 0
fi
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if ((EUID != 0)); then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
