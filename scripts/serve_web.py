#!/usr/bin/env python3
"""Serves the built web game (build-web/site/) over HTTP on this machine.

Usage: serve_web.py SITE_DIR [--host HOST] [--port PORT]
The host is 127.0.0.1 unless given; port 0 picks a free port. The first line on
stdout is "Serving Tornel at http://HOST:PORT/". Only the site's own files are
served, with GET or HEAD; no folder is listed. Ctrl-C or SIGTERM ends it with status 0.
"""
import argparse
import functools
import http.server
import signal
import sys

TYPES = {
    ".wasm": "application/wasm",
    ".js": "text/javascript",
    ".webmanifest": "application/manifest+json",
    ".svg": "image/svg+xml",
    ".css": "text/css",
    ".html": "text/html",
    ".png": "image/png",
}


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def list_directory(self, path):
        self.send_error(404, "Not found")
        return None

    def end_headers(self):
        # The browser asks again each time; the page's service worker keeps it offline.
        self.send_header("Cache-Control", "no-cache")
        self.send_header("X-Content-Type-Options", "nosniff")
        super().end_headers()

    def log_message(self, format, *args):
        pass


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
    handler = functools.partial(SiteHandler, directory=arguments.site)
    server = SiteServer((arguments.host, arguments.port), handler)
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
