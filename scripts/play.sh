#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
#   scripts/play.sh              the desktop window
#   scripts/play.sh --web        the web page, served on http://127.0.0.1:8000/ for this machine
#   scripts/play.sh --web --lan  the same, open to the other machines and phones on the network
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${1:-} == --web ]]; then
    host=127.0.0.1
    [[ ${2:-} == --lan ]] && host=0.0.0.0
    ./scripts/build-web.sh
    if [[ $host == 0.0.0.0 ]]; then
        address=$(hostname -I 2>/dev/null | awk '{ print $1 }')
        echo "From a phone or another machine on this network: http://${address:-<this machine>}:8000/"
        echo "(The game plays there, but installing it and playing offline need a secure context:"
        echo "https, or http://127.0.0.1 on the machine itself. A network http address is neither.)"
    fi
    echo "Ctrl-C stops the server."
    exec python3 scripts/serve_web.py build-web/site --host "$host" --port 8000
fi

./scripts/setup.sh play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target tornel
exec ./build/tornel
