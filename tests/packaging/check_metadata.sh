#!/bin/sh
# SPDX-FileCopyrightText: The Tornel developers
# Fails on any remark about the menu entry or the AppStream metainfo:
# desktop-file-validate exits 0 even after printing an error.
# Usage: check_metadata.sh FILE.desktop FILE.metainfo.xml
set -u
failed=0
remarks=$(desktop-file-validate "$1" 2>&1) || failed=1
if [ -n "$remarks" ]; then
    printf '%s\n' "$remarks"
    failed=1
fi
report=$(appstreamcli validate --no-net --pedantic --no-color "$2" 2>&1) || failed=1
printf '%s\n' "$report"
# Only the closing line, which names no issue, may be printed.
if printf '%s\n' "$report" | grep -v -x -e '' -e '.*Validation was successful\.'; then
    failed=1
fi
exit "$failed"
