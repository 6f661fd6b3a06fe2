#!/bin/sh
# Runs a Windows program under Wine in the given prefix, quietly, and hands on its
# exit status. The prefix is made on first use (about 10 s); later starts take about 2 s.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
exec wine "$@"
