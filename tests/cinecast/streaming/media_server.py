#!/usr/bin/env python3
"""Serves the files of one folder over HTTP on the loopback address, for the
players' network tests, under the network conditions that the path's first
components name:

    /ranges/...      byte ranges: Accept-Ranges on every answer, 206 for a
                     Range (the default when no delivery is named)
    /plain/...       no ranges: the whole file, 200, no Accept-Ranges, as
                     python3 -m http.server answers
    /nolength/...    no Content-Length and no ranges: the body ends when the
                     connection closes
    /slow=N/...      bodies at N bytes a second
    /drop=N/...      the connection closes after N bytes of a body
    /missing=NAME/...  the file NAME (its name, or its path in the folder
                     with %2F for /) answers 404; may be given more than once
    /reason=TEXT/... 404 answers carry TEXT (URL-encoded) as their reason
                     phrase instead of "Not Found"
    /live/P.m3u8     a live playlist over the media playlist P.m3u8: a
                     window of 3 segments, without an end, that moves on
                     one segment each segment's duration, looping
    /event/P.m3u8    an EVENT playlist over P.m3u8: its first 3 segments,
                     then one more each segment's duration, and the end tag
                     once all are listed

Conditions combine (/slow=40000/drop=300000/ranges/hls/vod.m3u8); relative
URLs in a playlist keep them, and a file or folder named as a condition
cannot be served. A live or event playlist's clock starts at
its first request, one clock per request path. Unknown files answer 404, a
malformed condition 400.

    media_server.py FOLDER PORT_FILE [--seconds N] [--verbose]

Writes the port it listens on to PORT_FILE once it is listening, and stops
by itself after N seconds (default 600).
"""
import argparse
import http.server
import os
import re
import sys
import threading
import time
import urllib.parse

DELIVERIES = ("ranges", "plain", "nolength")
PLAYLISTS = ("live", "event")
WINDOW = 3
CONTENT_TYPES = {
    ".wav": "audio/x-wav", ".m3u8": "application/vnd.apple.mpegurl", ".mpd": "application/dash+xml",
    ".ts": "video/mp2t", ".m4s": "video/iso.segment", ".mp4": "video/mp4", ".webm": "video/webm",
    ".avi": "video/x-msvideo", ".txt": "text/plain",
}


class BadRequest(Exception):
    pass


class Conditions:
    """The conditions named by a path's leading components, and the file path after them."""

    def __init__(self, path):
        self.delivery = None
        self.rate = None
        self.drop = None
        self.missing = []
        self.reason = "Not Found"
        self.playlist = None
        parts = [urllib.parse.unquote(p) for p in path.split("?")[0].split("/") if p]
        while parts and self.take(parts[0]):
            parts.pop(0)
        if any(p in ("..", ".") or "/" in p or "\\" in p or "\0" in p for p in parts):
            raise BadRequest("a file path outside the folder")
        self.file = "/".join(parts)
        self.delivery = self.delivery or "ranges"

    def take(self, part):
        name, equals, value = part.partition("=")
        if not equals and name in DELIVERIES + PLAYLISTS:
            slot = "delivery" if name in DELIVERIES else "playlist"
            if getattr(self, slot) not in (None, name):
                raise BadRequest("both %s and %s" % (getattr(self, slot), name))
            setattr(self, slot, name)
        elif equals and name in ("slow", "drop"):
            if not re.fullmatch(r"[1-9][0-9]{0,11}", value):
                raise BadRequest("%s= takes a whole number of bytes above 0" % name)
            setattr(self, "rate" if name == "slow" else "drop", int(value))
        elif equals and name == "missing":
            if not value:
                raise BadRequest("missing= takes a file name")
            self.missing.append(value)
        elif equals and name == "reason":
            # A reason phrase is text on the status line: no line breaks.
            if not value or not all(c == "\t" or " " <= c <= "~" for c in value):
                raise BadRequest("reason= takes printable ASCII text")
            self.reason = value
        else:
            return False
        return True

    def is_missing(self):
        return any(self.file == m or os.path.basename(self.file) == m for m in self.missing)


def parse_media_playlist(text):
    """The header lines and the (duration, uri) segments of an HLS media playlist."""
    header, segments, duration = [], [], None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("#EXTINF:"):
            duration = float(line[len("#EXTINF:"):].split(",")[0])
        elif line.startswith(("#EXTM3U", "#EXT-X-VERSION", "#EXT-X-TARGETDURATION")):
            header.append(line)
        elif line and not line.startswith("#") and duration is not None:
            segments.append((duration, line))
            duration = None
    if not header or header[0] != "#EXTM3U" or sum(d for d, _ in segments) <= 0:
        raise ValueError("is no media playlist with segments")
    return header, segments


def segments_passed(segments, elapsed):
    """How many segments have gone by `elapsed` seconds into the loop over them."""
    total = sum(d for d, _ in segments)
    loops, rest = divmod(max(0.0, elapsed), total)
    count = int(loops) * len(segments)
    for duration, _ in segments:
        if rest < duration:
            break
        rest -= duration
        count += 1
    return count


def live_playlist(text, elapsed):
    """A sliding window over the playlist's segments `elapsed` seconds after its start, looping."""
    header, segments = parse_media_playlist(text)
    first = segments_passed(segments, elapsed)
    n = len(segments)
    # Each loop starts its timestamps over: a discontinuity, counted once it has slid out.
    lines = header + ["#EXT-X-MEDIA-SEQUENCE:%d" % first,
                      "#EXT-X-DISCONTINUITY-SEQUENCE:%d" % ((first - 1) // n if first > 0 else 0)]
    for sequence in range(first, first + WINDOW):
        duration, uri = segments[sequence % n]
        if sequence > 0 and sequence % n == 0:
            lines.append("#EXT-X-DISCONTINUITY")
        lines += ["#EXTINF:%.6f," % duration, uri]
    return "\n".join(lines) + "\n"


def event_playlist(text, elapsed):
    """The playlist as an EVENT `elapsed` seconds after its start: grown, and ended once whole."""
    header, segments = parse_media_playlist(text)
    count = min(len(segments), WINDOW + segments_passed(segments, elapsed))
    lines = header + ["#EXT-X-PLAYLIST-TYPE:EVENT", "#EXT-X-MEDIA-SEQUENCE:0"]
    for duration, uri in segments[:count]:
        lines += ["#EXTINF:%.6f," % duration, uri]
    if count == len(segments):
        lines.append("#EXT-X-ENDLIST")
    return "\n".join(lines) + "\n"


class Clocks:
    """When each live or event playlist was first asked for."""

    def __init__(self):
        self.lock = threading.Lock()
        self.starts = {}

    def elapsed(self, key):
        now = time.monotonic()
        with self.lock:
            return now - self.starts.setdefault(key, now)


def make_handler(folder, clocks, verbose):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, form, *args):
            if verbose:
                sys.stderr.write("media_server: %s\n" % (form % args))

        def do_GET(self):
            self.answer(body=True)

        def do_HEAD(self):
            self.answer(body=False)

        def answer(self, body):
            try:
                conditions = Conditions(self.path)
            except BadRequest as e:
                return self.empty(400, "Bad Request: " + str(e))
            path = os.path.join(folder, conditions.file)
            if not conditions.file or conditions.is_missing() or not os.path.isfile(path):
                return self.empty(404, conditions.reason)
            with open(path, "rb") as f:
                data = f.read()
            if conditions.playlist and path.endswith(".m3u8"):
                make = live_playlist if conditions.playlist == "live" else event_playlist
                try:
                    data = make(data.decode("utf-8"), clocks.elapsed(self.path)).encode("utf-8")
                except (UnicodeDecodeError, ValueError) as e:
                    return self.empty(500, "Internal Server Error: %s %s" % (conditions.file, e))
            self.send_body(conditions, path, data, body)

        def empty(self, status, reason):
            self.send_response(status, reason)
            self.send_header("Content-Length", "0")
            self.end_headers()

        def send_body(self, conditions, path, data, body):
            start, end = 0, len(data) - 1
            wanted = self.headers.get("Range", "") if conditions.delivery == "ranges" else ""
            match = re.fullmatch(r"bytes=(\d*)-(\d*)", wanted.strip())
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
            if conditions.delivery == "ranges":
                self.send_header("Accept-Ranges", "bytes")
            self.send_header("Content-Type", CONTENT_TYPES.get(os.path.splitext(path)[1], "application/octet-stream"))
            if conditions.playlist:
                self.send_header("Cache-Control", "no-cache")
            if conditions.delivery == "nolength":
                self.send_header("Connection", "close")
                self.close_connection = True
            else:
                self.send_header("Content-Length", str(end - start + 1))
            self.end_headers()
            if body:
                self.send_slice(data[start:end + 1], conditions)

        def send_slice(self, chunk, conditions):
            limit = len(chunk) if conditions.drop is None else min(len(chunk), conditions.drop)
            # Twenty writes a second keep a throttled body even.
            step = max(1, conditions.rate // 20) if conditions.rate else 64 * 1024
            began = time.monotonic()
            sent = 0
            try:
                while sent < limit:
                    part = chunk[sent:min(limit, sent + step)]
                    self.wfile.write(part)
                    sent += len(part)
                    if conditions.rate:
                        self.wfile.flush()
                        delay = began + sent / conditions.rate - time.monotonic()
                        if delay > 0:
                            time.sleep(delay)
                if limit < len(chunk):
                    self.close_connection = True
            except (BrokenPipeError, ConnectionResetError, OSError):
                self.close_connection = True

    return Handler


class QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    # Players drop connections when they seek or stop: not worth a traceback.
    def handle_error(self, request, client_address):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("port_file")
    parser.add_argument("--seconds", type=float, default=600)
    parser.add_argument("--verbose", action="store_true", help="each request on stderr")
    options = parser.parse_args()
    if not os.path.isdir(options.folder):
        parser.error("no folder " + options.folder)
    if options.seconds <= 0:
        parser.error("--seconds must be above 0")
    server = QuietServer(("127.0.0.1", 0), make_handler(options.folder, Clocks(), options.verbose))
    with open(options.port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(options.port_file + ".tmp", options.port_file)
    timer = threading.Timer(options.seconds, server.shutdown)
    timer.daemon = True
    timer.start()
    server.serve_forever()


if __name__ == "__main__":
    main()
