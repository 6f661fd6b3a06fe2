#!/usr/bin/env bash
# Installs the Debian 12 packages that building, playing and testing Tornel need,
# but only the ones that are missing, so a machine that has them all is left alone.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkgconf
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libbenchmark-dev
    fonts-dejavu-core fonts-liberation2
    xvfb xauth xdotool dbus python3 python3-xlib
    at-spi2-core python3-pyatspi evilwm
    devscripts desktop-file-utils appstream
    valgrind clang-14 libclang-rt-14-dev
    locales weston qt6-wayland qt6ct
    g++-mingw-w64-x86-64-posix googletest wine wine64 zip
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done

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
