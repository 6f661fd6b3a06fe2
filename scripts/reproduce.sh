#!/usr/bin/env bash
# Checks that the game's published files are made from its source alone: the Windows
# exe and its zip, the web site (every file of it) and its zip, and the Debian package
# are built twice, from two copies of the source in two folders, the second at least a
# minute after the first, with another time zone, locale and umask. Both builds must
# give the same files byte for byte; on a difference it shows what differs (diffoscope
# where it is installed, cmp otherwise) and fails.
#
#   scripts/reproduce.sh           builds both copies
#   scripts/reproduce.sh --reuse   takes the test command's builds as the first copy
#       (build-windows/, build-web/, and the package made by cpack from build/) and
#       builds only the second
set -euo pipefail
cd "$(dirname "$0")/.."
reuse=false
[[ ${1:-} == --reuse ]] && reuse=true
./scripts/setup.sh reproduce
source scripts/reproducible.sh
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=$work/build.log

# A copy of the working tree (uncommitted changes included, builds left out), extracted
# under the caller's umask and with fresh file times, as a new checkout would be.
copy_source() {
    mkdir -p "$1"
    tar -c --exclude='./build*' --exclude=./.git --exclude=./.cache --exclude=node_modules \
        --exclude=__pycache__ . | tar -x --no-same-permissions --touch -C "$1"
}

# Gathers the published files of the source tree $1 (packages from $2) into $3.
collect() {
    mkdir -p "$3"
    cp "$1"/build-windows/tornel.exe "$1"/build-windows/tornel-*-windows-x64.zip \
        "$1"/build-web/tornel-*-web.zip "$2"/tornel_*.deb "$3"/
    cp -R "$1"/build-web/site "$3"/site
}

# Builds everything from a fresh copy of the source in $1 and gathers it into $2, under
# the umask $3 and the environment that `env` gets from the rest of the arguments.
build_copy() {
    local started=$SECONDS
    (umask "$3" && copy_source "$1")
    if ! (cd "$1" && umask "$3" && env "${@:4}" bash -c './scripts/build-windows.sh \
        && ./scripts/build-web.sh && TORNEL_PACKAGE_DIR=build-package ./scripts/package.sh') \
        >"$log" 2>&1; then
        cat "$log"
        echo "FAIL: the build in $1 failed" >&2
        exit 1
    fi
    collect "$1" "$1"/build-package "$2"
    echo "   built in $((SECONDS - started)) s"
}

# Compares two gatherings: the same names, and the same bytes in each file.
compare() {
    local first=$1 second=$2 differ=0 file
    if ! diff <(cd "$first" && find . -type f | LC_ALL=C sort) \
        <(cd "$second" && find . -type f | LC_ALL=C sort); then
        echo "FAIL: the two builds made different files (< first, > second)"
        differ=1
    fi
    while read -r file; do
        [[ -f $second/$file ]] || continue
        cmp -s "$first/$file" "$second/$file" && continue
        differ=1
        echo "FAIL: $file differs ($(stat -c %s "$first/$file") and $(stat -c %s "$second/$file") bytes)"
        if command -v diffoscope >/dev/null; then
            diffoscope "$first/$file" "$second/$file" | head -n 80 || true
        else
            echo "   offset (from 1), first's byte, second's byte (octal):"
            cmp -l "$first/$file" "$second/$file" 2>&1 | head -n 10 || true
        fi
    done < <(cd "$first" && find . -type f -printf '%P\n' | LC_ALL=C sort)
    return $differ
}

echo "== SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH ($(date -u -d "@$SOURCE_DATE_EPOCH"))"
if $reuse; then
    echo "== first copy: the test command's builds in $PWD"
    (cd build && umask 022 && cpack -G DEB >/dev/null)   # as scripts/package.sh packs
    collect . build "$work/first"
    first_time=$(find build-windows/tornel.exe build-web/site build/tornel -type f -printf '%Ts\n' \
        | sort -n | tail -n 1)
else
    first_time=$(date +%s)
    echo "== first copy: $work/a (TZ=UTC, LC_ALL=C.UTF-8, umask 022)"
    build_copy "$work/a" "$work/first" 022 TZ=UTC LC_ALL=C.UTF-8
fi

# The second copy: at least a minute later, half the world away (UTC+13:45, a date ahead of
# UTC for most of the day), in a locale that sorts and cases letters its own way, with
# files that only their owner may read.
wait=$((first_time + 60 - $(date +%s)))
if ((wait > 0)); then
    echo "== waiting $wait s, so that the second copy starts a minute after the first"
    sleep "$wait"
fi
mkdir "$work/locale"
localedef -i tr_TR -f UTF-8 "$work/locale/tr_TR.UTF-8"
echo "== second copy: $work/b (TZ=Pacific/Chatham, LC_ALL=tr_TR.UTF-8, umask 077)"
build_copy "$work/b" "$work/second" 077 TZ=Pacific/Chatham LOCPATH="$work/locale" LC_ALL=tr_TR.UTF-8

echo "== comparing"
(cd "$work/first" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d "\n" sha256sum)
compare "$work/first" "$work/second"
echo "The two builds are the same byte for byte: $(find "$work/first" -type f | wc -l) files, checked in $SECONDS s"
