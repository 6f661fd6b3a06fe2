#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Tornel developers
"""Installs the build into SCRATCH and checks Debian's layout for a game: the menu
entry starts an installed program, its icons have the sizes their folders claim,
and compressed files hold no name or time stamp (gzip -n).

Usage: check_install.py BUILD_DIR SCRATCH
"""
import configparser
import shutil
import subprocess
import sys
from pathlib import Path

ENTRY = "share/applications/org.tornel.tornel.desktop"
EXPECTED = {"games/tornel", ENTRY, "share/metainfo/org.tornel.tornel.metainfo.xml",
            "share/icons/hicolor/scalable/apps/tornel.svg", "share/man/man6/tornel.6.gz",
            "share/doc/tornel/copyright", "share/doc/tornel/changelog.gz"} | {
    f"share/icons/hicolor/{s}x{s}/apps/tornel.png" for s in (16, 32, 48, 64, 128)}


def problems_in(prefix):
    installed = {str(p.relative_to(prefix)) for p in prefix.rglob("*") if p.is_file()}
    yield from (f"missing {name}" for name in sorted(EXPECTED - installed))
    yield from (f"unexpected {name}" for name in sorted(installed - EXPECTED))

    entry = configparser.ConfigParser(interpolation=None)
    entry.read(prefix / ENTRY)
    program = prefix / "games" / entry["Desktop Entry"]["Exec"].split()[0]
    if not (program.is_file() and program.stat().st_mode & 0o111):
        yield f"the menu entry starts {program}, which is not installed"
    for png in prefix.glob(f"share/icons/hicolor/*/apps/{entry['Desktop Entry']['Icon']}.png"):
        data = png.read_bytes()
        size = f"{int.from_bytes(data[16:20], 'big')}x{int.from_bytes(data[20:24], 'big')}"
        if size != png.parent.parent.name:
            yield f"{png} is {size}"
    for gz in prefix.rglob("*.gz"):
        header = gz.read_bytes()[:8]
        if header[3] & 0x08 or any(header[4:8]):
            yield f"{gz} keeps a file name or time stamp"


def main(build_dir, scratch):
    prefix = Path(scratch).resolve()
    shutil.rmtree(prefix, ignore_errors=True)
    subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix],
                   check=True, stdout=subprocess.DEVNULL)
    problems = list(problems_in(prefix))
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
