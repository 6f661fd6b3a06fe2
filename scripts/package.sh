#!/usr/bin/env bash
# Builds the game's Debian package in build-package/ (or $TORNEL_PACKAGE_DIR) and
# checks it with lintian, which fails this script on any error. With --install-test
# (as root; it changes the system) it also installs the package, starts the game
# from its menu entry, and removes the package again, checking that none of its
# files stay behind. The package is the same byte for byte from any build of the same
# source (scripts/reproduce.sh checks it).
set -euo pipefail
cd "$(dirname "$0")/.."
install_test=false
[[ ${1:-} == --install-test ]] && install_test=true
./scripts/setup.sh package
source scripts/reproducible.sh
sudo_cmd=()
((EUID == 0)) || sudo_cmd=(sudo)
dir=${TORNEL_PACKAGE_DIR:-build-package}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" --target tornel
rm -f "$dir"/tornel_*.deb
# CPack makes the package's folders and its ar members with the umask's modes: Debian's
# 755 and 644 whatever the caller's.
(cd "$dir" && umask 022 && cpack -G DEB >/dev/null)
deb=$(realpath "$dir"/tornel_*.deb)
echo "== $deb: $(stat -c %s "$deb") bytes, Installed-Size $(dpkg-deb -f "$deb" Installed-Size) KiB"
dpkg-deb -f "$deb" Package Version Section Depends Recommends
echo "== lintian"
lintian --fail-on error --display-info "$deb"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
echo "== hardening-check on the packaged program"
hardening-check "$unpacked/usr/games/tornel" || true

$install_test || exit 0
echo "== install, start from the menu entry, remove"
"${sudo_cmd[@]}" apt-get install -y "$deb" >/dev/null
files=$(dpkg -L tornel)
entry=/usr/share/applications/org.tornel.tornel.desktop
command=$(sed -n 's/^Exec=//p' "$entry")
# A desktop session's search path (Debian's default for users), which holds /usr/games.
PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games QT_QPA_PLATFORM=offscreen \
    DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent $command &
game=$!
sleep 2
if ! kill -0 "$game" 2>/dev/null; then
    echo "FAIL: '$command' from $entry did not stay up for 2 s" >&2
    exit 1
fi
kill "$game"
wait "$game" || true
echo "'$command' from $entry was running after 2 s"
"${sudo_cmd[@]}" dpkg -r tornel >/dev/null
left=$(while read -r f; do if [[ -f $f || -L $f ]]; then echo "$f"; fi; done <<<"$files")
if [[ -n $left ]]; then
    echo "FAIL: left after dpkg -r:" "$left" >&2
    exit 1
fi
echo "dpkg -r tornel left none of the package's files"
