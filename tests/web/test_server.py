#!/usr/bin/python3
"""scripts/serve_web.py on a site of its own: what it refuses, one log line a request and no
traceback, gzip and revalidation by ETag, and its refusal of a folder without index.html."""
import gzip
import os
import shutil
import socket
import subprocess
import sys
import tempfile

SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "serve_web.py")
top = tempfile.mkdtemp()
site, program = os.path.join(top, "site"), b"tornel();\n" * 200
for name, data in {"index.html": b"<!doctype html>", "tornel.js": program, ".env": b"x",
                   ".git/config": b"x", "icons/a.png": b"x", "../outside.txt": b"x"}.items():
    os.makedirs(os.path.dirname(os.path.join(site, name)), exist_ok=True)
    open(os.path.join(site, name), "wb").write(data)
os.symlink("../outside.txt", os.path.join(site, "out.txt"))
server = subprocess.Popen([sys.executable, SERVER, site, "--port", "0"], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
asked, port = [], int(server.stdout.readline().decode().rstrip("/\n").rsplit(":", 1)[1])


def ask(path, method="GET", *headers):
    asked.append(path)
    with socket.create_connection(("127.0.0.1", port)) as s:
        s.sendall(f"{method} {path} HTTP/1.1\r\nConnection: close\r\n".encode() + b"".join(
            h.encode() + b"\r\n" for h in headers) + b"\r\n")
        reply = b"".join(iter(lambda: s.recv(65536), b""))
    head, _, body = reply.partition(b"\r\n\r\n")
    lines = head.decode().split("\r\n")
    return int(lines[0].split()[1]), dict(line.lower().split(": ", 1) for line in lines[1:]), body


def faults_seen():
    refusals = {"/out.txt": 404, "/.env": 404, "/.git/config": 404, "/icons": 404, "/icons/": 404,
                "/%00": 400, "/\0": 400, "/%zz": 400, "/..%2f..%2foutside.txt": 400, "/a\\b": 400}
    faults = [f"{p} answered {s}, not {c}" for p, c in refusals.items() if (s := ask(p)[0]) != c]
    _, plain, body = ask("/tornel.js")
    _, zipped, packed = ask("/tornel.js", "GET", "Accept-Encoding: gzip, br")
    head = ask("/tornel.js", "HEAD", "Accept-Encoding: gzip")
    if (gzip.decompress(packed), zipped["content-length"], zipped["vary"]) != (program, str(len(packed)), "accept-encoding"):
        faults.append(f"gzip answer {zipped}")
    if (body, head[1]["etag"], head[2]) != (program, zipped["etag"], b"") or zipped["etag"] == plain["etag"]:
        faults.append(f"plain {plain}, HEAD {head}")
    for headers in [("If-None-Match: " + plain["etag"],), ("Accept-Encoding: gzip", "If-None-Match: " + zipped["etag"])]:
        faults += [f"{headers} answered {s}"] if (s := ask("/tornel.js", "GET", *headers)[:2])[0] != 304 else []
    faults += [f"POST answered {s}"] if (s := ask("/", "POST")[0]) not in (405, 501) else []
    refusal = subprocess.run([sys.executable, SERVER, os.path.join(site, "icons")], capture_output=True, timeout=10)
    if refusal.returncode == 0 or refusal.stdout or len(refusal.stderr.splitlines()) != 1:
        faults.append(f"a folder without index.html: {refusal}")
    return faults


try:
    faults = faults_seen()
    server.terminate()
    log = server.communicate(timeout=10)[1].decode()
    if server.returncode != 0 or "Traceback" in log or len(log.splitlines()) != len(asked):
        faults.append(f"exit {server.returncode}, log:\n{log}")
finally:
    server.kill()
    shutil.rmtree(top)
print("\n".join(faults) or "serve_web.py refuses what it must, with gzip and ETags")
sys.exit(1 if faults else 0)
