#!/usr/bin/env python3
"""Serves the built web game (build-web/site/) over HTTP on this machine.

Usage: serve_web.py SITE_DIR [--host HOST] [--port PORT]
The host is 127.0.0.1 unless given; port 0 picks a free port. The first line on
stdout is "Serving Tornel at http://HOST:PORT/"; then one line a request goes to stderr.
Only regular files inside the site's real folder are served, with GET or HEAD: no
dot-file, no folder listing, nothing a symlink leads to outside. A malformed path is
answered 400. Files are revalidated by a hash of their content (ETag), and text, the
program and the manifest go gzipped to a browser that takes it. A folder without
index.html is refused at start. Ctrl-C or SIGTERM ends it with status 0.
"""
import argparse
import email.utils
import gzip
import hashlib
import http
import http.server
import os
import re
import signal
import sys
import threading
import urllib.parse

TYPES = {
    ".wasm": "application/wasm",
    ".js": "text/javascript",
    ".mjs": "text/javascript",
    ".webmanifest": "application/manifest+json",
    ".json": "application/json",
    ".svg": "image/svg+xml",
    ".css": "text/css",
    ".html": "text/html",
    ".png": "image/png",
    ".ico": "image/x-icon",
    ".txt": "text/plain",
}
COMPRESSIBLE = {".html", ".css", ".js", ".mjs", ".wasm", ".json", ".webmanifest", ".svg", ".txt"}
# The page and its service worker must be asked for again on every load, so that an update
# is seen; a file named after its content (tornel.0123456789abcdef.js) never changes.
ALWAYS_REVALIDATED = {"index.html", "sw.js"}
CONTENT_NAMED = re.compile(r"\.[0-9a-f]{16,}\.[A-Za-z0-9]+$")
IMMUTABLE = "public, max-age=31536000, immutable"
PERCENT_ESCAPE = re.compile(r"%(?![0-9A-Fa-f]{2})")
CONTROL_CHARACTER = re.compile(r"[\x00-\x1f\x7f\\]")


class Variants:
    """A file's bytes as read once, with its ETag, and gzipped when its type compresses."""

    def __init__(self, data, compressible):
        self.tag = hashlib.sha256(data).hexdigest()[:32]
        self.plain = data
        self.gzipped = gzip.compress(data, compresslevel=9, mtime=0) if compressible else None


class BadPath(Exception):
    pass


def url_segments(target):
    """The decoded segments of a request target's path; BadPath when it is malformed."""
    path = target.split("?", 1)[0].split("#", 1)[0]
    if not path.startswith("/") or PERCENT_ESCAPE.search(path) or CONTROL_CHARACTER.search(path):
        raise BadPath
    try:
        decoded = urllib.parse.unquote_to_bytes(path).decode("utf-8")
    except UnicodeDecodeError:
        raise BadPath from None
    segments = decoded.split("/")[1:]
    # "." and ".." would step through folders; an empty segment ("a//b") names none.
    if CONTROL_CHARACTER.search(decoded) or any(s in ("", ".", "..") for s in segments[:-1]) \
            or segments[-1] in (".", ".."):
        raise BadPath
    return segments


class SiteHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # The headers and the body go out as two writes: with Nagle's algorithm the body would wait
    # for the browser's delayed acknowledgement of the headers, up to 40 ms a file.
    disable_nagle_algorithm = True
    timeout = 60  # an idle kept-alive connection ends, and with it its thread
    site = ""
    cache = {}
    log_lock = threading.Lock()

    def version_string(self):
        return "serve_web"

    def handle_one_request(self):
        self.status, self.sent = None, 0
        super().handle_one_request()
        if self.status is not None:
            self.log_line()

    def log_line(self):
        line = self.requestline.encode("unicode_escape").decode("ascii").replace('"', '\\"')
        when = self.log_date_time_string()
        with self.log_lock:
            sys.stderr.write(f'{self.client_address[0]} - - [{when}] "{line}" {self.status} {self.sent}\n')
            sys.stderr.flush()

    def log_request(self, code="-", size="-"):
        self.status = int(code)

    def log_message(self, format, *args):
        pass

    def send_error(self, code, message=None, explain=None):
        # The standard phrase only: nothing the client sent is echoed back.
        body = f"{code} {http.HTTPStatus(code).phrase}\n".encode()
        self.send_response(code)
        self.send_header("Content-Type", "text/plain; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("X-Content-Type-Options", "nosniff")
        self.send_header("Connection", "close")
        self.end_headers()
        if self.command != "HEAD" and code >= 200 and code not in (204, 304):
            self.write(body)

    def write(self, body):
        self.wfile.write(body)
        self.sent += len(body)

    def do_GET(self):
        self.serve(with_body=True)

    def do_HEAD(self):
        self.serve(with_body=False)

    def serve(self, with_body):
        try:
            segments = url_segments(self.path)
        except BadPath:
            self.send_error(400)
            return
        found = self.site_file(segments)
        if found is None:
            self.send_error(404)
            return
        path, stat = found
        name = os.path.basename(path)
        extension = os.path.splitext(name)[1].lower()
        variants = self.variants(path, stat, extension in COMPRESSIBLE)
        if variants is None:
            self.send_error(404)
            return
        zipped = variants.gzipped is not None and self.takes_gzip()
        tag = f'"{variants.tag}-gzip"' if zipped else f'"{variants.tag}"'
        unchanged = self.unchanged(tag, stat.st_mtime)
        self.send_response(304 if unchanged else 200)
        self.send_header("ETag", tag)
        self.send_header("Last-Modified", email.utils.formatdate(stat.st_mtime, usegmt=True))
        self.send_header("Cache-Control", cache_control(name))
        if variants.gzipped is not None:
            self.send_header("Vary", "Accept-Encoding")
        if unchanged:
            self.end_headers()
            return
        body = variants.gzipped if zipped else variants.plain
        self.send_header("Content-Type", TYPES.get(extension, "application/octet-stream"))
        if zipped:
            self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("X-Content-Type-Options", "nosniff")
        self.end_headers()
        if with_body:
            self.write(body)

    def site_file(self, segments):
        """The real path and status of the regular file the segments name inside the site, or None."""
        if segments[-1] == "":
            segments = segments[:-1] + ["index.html"]
        if any(s.startswith(".") for s in segments):
            return None
        real = os.path.realpath(os.path.join(self.site, *segments))
        inside = os.path.relpath(real, self.site).split(os.sep)
        if real == self.site or inside[0] == ".." or any(s.startswith(".") for s in inside):
            return None
        try:
            stat = os.stat(real)
        except (OSError, ValueError):
            return None
        return (real, stat) if os.path.isfile(real) else None

    def variants(self, path, stat, compressible):
        """The file's variants, read again only when its date or size has changed."""
        stamp = (stat.st_mtime_ns, stat.st_size)
        cached = self.cache.get(path)
        if cached is not None and cached[0] == stamp:
            return cached[1]
        try:
            with open(path, "rb") as file:
                found = Variants(file.read(), compressible)
        except OSError:
            return None
        self.cache[path] = (stamp, found)
        return found

    def takes_gzip(self):
        for part in self.headers.get("Accept-Encoding", "").split(","):
            coding, _, parameters = part.strip().partition(";")
            if coding.strip().lower() in ("gzip", "x-gzip"):
                quality = parameters.replace(" ", "").lower()
                return quality not in ("q=0", "q=0.0", "q=0.00", "q=0.000")
        return False

    def unchanged(self, tag, modified):
        """Whether the browser's copy is current: by ETag when it sends one, else by date."""
        wanted = self.headers.get("If-None-Match")
        if wanted is not None:
            tags = [t.strip().removeprefix("W/") for t in wanted.split(",")]
            return "*" in tags or tag in tags
        since = self.headers.get("If-Modified-Since")
        if since is None:
            return False
        try:
            return int(modified) <= email.utils.parsedate_to_datetime(since).timestamp()
        except (TypeError, ValueError, OverflowError):
            return False


def cache_control(name):
    if name not in ALWAYS_REVALIDATED and CONTENT_NAMED.search(name):
        return IMMUTABLE
    return "no-cache"


class SiteServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        # A browser that drops a request half way (a closed tab, a cancelled load) is no error.
        if isinstance(sys.exc_info()[1], (BrokenPipeError, ConnectionResetError)):
            return
        super().handle_error(request, client_address)


def parse_arguments():
    parser = argparse.ArgumentParser(description="Serves the built web game.")
    parser.add_argument("site", help="the site folder, for example build-web/site")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8000)
    return parser.parse_args()


def stop(signum, frame):
    raise SystemExit(0)


def main():
    signal.signal(signal.SIGTERM, stop)
    arguments = parse_arguments()
    site = os.path.realpath(arguments.site)
    if not os.path.isfile(os.path.join(site, "index.html")):
        sys.exit(f"serve_web.py: {arguments.site} holds no index.html: build the site first"
                 " (scripts/build-web.sh)")
    SiteHandler.site = site
    try:
        server = SiteServer((arguments.host, arguments.port), SiteHandler)
    except OSError as error:
        sys.exit(f"serve_web.py: cannot listen on {arguments.host}:{arguments.port}: {error.strerror}")
    print(f"Serving Tornel at http://{arguments.host}:{server.server_address[1]}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
