#!/usr/bin/env python3
"""Serves the files of one folder over HTTP on the loopback address, for the
players' network tests: with byte ranges (Accept-Ranges, 206 answers) or
without them (every request gets the whole file, as python3 -m http.server
does). Unknown paths answer 404.

    media_server.py FOLDER PORT_FILE [--no-ranges] [--seconds N]

Writes the port it listens on to PORT_FILE once it is listening, and stops
by itself after N seconds (default 600).
"""
import argparse
import http.server
import os
import re
import sys
import threading


def make_handler(folder, ranges):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def do_GET(self):
            self.answer(body=True)

        def do_HEAD(self):
            self.answer(body=False)

        def answer(self, body):
            path = os.path.join(folder, os.path.basename(self.path.split("?")[0]))
            if not os.path.isfile(path):
                self.send_response(404)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            with open(path, "rb") as f:
                data = f.read()
            start, end = 0, len(data) - 1
            match = re.fullmatch(r"bytes=(\d*)-(\d*)", self.headers.get("Range", "")) if ranges else None
            if match and (match.group(1) or match.group(2)):
                if match.group(1):
                    start = int(match.group(1))
                    end = min(int(match.group(2)), end) if match.group(2) else end
                else:
                    start = max(0, len(data) - int(match.group(2)))
                if start > end:
                    self.send_response(416)
                    self.send_header("Content-Range", "bytes */%d" % len(data))
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                self.send_response(206)
                self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end, len(data)))
            else:
                self.send_response(200)
            if ranges:
                self.send_header("Accept-Ranges", "bytes")
            self.send_header("Content-Type", "audio/x-wav" if path.endswith(".wav") else "application/octet-stream")
            self.send_header("Content-Length", str(end - start + 1))
            self.end_headers()
            if body:
                try:
                    self.wfile.write(data[start:end + 1])
                except (BrokenPipeError, ConnectionResetError):
                    pass

    return Handler


class QuietServer(http.server.ThreadingHTTPServer):
    # Players drop connections when they seek or stop: not worth a traceback.
    def handle_error(self, request, client_address):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("port_file")
    parser.add_argument("--no-ranges", action="store_true")
    parser.add_argument("--seconds", type=int, default=600)
    options = parser.parse_args()
    folder, port_file, seconds = options.folder, options.port_file, options.seconds
    server = QuietServer(("127.0.0.1", 0), make_handler(folder, not options.no_ranges))
    server.daemon_threads = True
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)
    timer = threading.Timer(seconds, server.shutdown)
    timer.daemon = True
    timer.start()
    server.serve_forever()


if __name__ == "__main__":
    main()
