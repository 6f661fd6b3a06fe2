#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Tornel developers
"""Fails on any "no" from hardening-check on the game, and on any source of the
game compiled without one of FLAGS. The flags stand in for two of its guesses
that cannot see them here: fortify (the game's only copies are libstdc++'s
inline ones, never fortified) and, while the C start files lack the mark
(Debian 12's crti.o), control flow integrity.

Usage: check_hardening.py PROGRAM compile_commands.json SOURCE_DIR CXX FLAGS...
"""
import json
import shlex
import subprocess
import sys
from pathlib import Path


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


def main(program, commands, source_dir, cxx, *flags):
    crti = run(cxx, "-print-file-name=crti.o").stdout.strip()
    skips = ["--nofortify"]
    if "IBT, SHSTK" not in run("readelf", "-n", crti).stdout:
        skips.append("--nocfprotection")
    check = run("hardening-check", *skips, program)
    print(check.stdout + check.stderr)
    problems = [line for line in check.stdout.splitlines()
                if ": no" in line and "(ignored)" not in line]
    if check.returncode != 0:
        problems.append(f"hardening-check exited with {check.returncode}")

    product = [Path(source_dir, part) for part in ("qt", "layout", "rules")]
    entries = [entry for entry in json.loads(Path(commands).read_text())
               if any(Path(entry["file"]).is_relative_to(part) for part in product)]
    if not entries:
        problems.append("no source of the game in the compile commands")
    for entry in entries:
        words = entry.get("arguments") or shlex.split(entry["command"])
        missing = [flag for flag in flags if flag not in words]
        if missing:
            problems.append(f"{entry['file']} compiled without {' '.join(missing)}")

    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
