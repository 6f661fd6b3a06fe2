#!/usr/bin/python3
"""Checks that a Windows program imports only DLLs that every Windows system has, so that
the one exe runs as it is, with nothing beside it.

Usage: check_imports.py OBJDUMP PROGRAM   (exit status 0 when every import is a system DLL)
"""
import re
import subprocess
import sys

SYSTEM = {"kernel32", "user32", "gdi32", "comctl32", "comdlg32", "ole32", "oleaut32", "oleacc",
          "advapi32", "shell32", "shlwapi", "uxtheme", "msvcrt", "ucrtbase", "version", "imm32"}


def imports(objdump, program):
    listing = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    return re.findall(r"DLL Name: (\S+)", listing)


def is_system(dll):
    name = dll.lower().removesuffix(".dll")
    return name in SYSTEM or name.startswith(("api-ms-win-crt-", "api-ms-win-core-"))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    found = imports(sys.argv[1], sys.argv[2])
    others = [dll for dll in found if not is_system(dll)]
    print("imports:", ", ".join(found) or "none")
    if not found or others:
        sys.exit(f"not system DLLs: {', '.join(others)}" if others else "no import table found")
