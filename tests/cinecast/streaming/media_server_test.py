#!/usr/bin/env python3
"""media_server.py's conditions, each row a request and what must come back,
through a server run as the tests run it; and its live and event playlists
at given times since their start."""
import http.client
import os
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import media_server  # noqa: E402

DATA = bytes(range(256)) * 40  # 10240 bytes, each position telling
VOD = "".join(["#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n#EXT-X-MEDIA-SEQUENCE:0\n",
               "#EXT-X-PLAYLIST-TYPE:VOD\n"] +
              ["#EXTINF:2.000000,\nseg%03d.ts\n" % i for i in range(6)] + ["#EXT-X-ENDLIST\n"])
N = str(len(DATA))

# path, request headers -> status, reason, headers (None: absent), body
EXCHANGES = [
    ("/f.bin", {}, 200, "OK", {"Accept-Ranges": "bytes", "Content-Length": N}, DATA),
    ("/ranges/f.bin", {"Range": "bytes=10-19"}, 206, "Partial Content",
     {"Accept-Ranges": "bytes", "Content-Range": "bytes 10-19/" + N, "Content-Length": "10"}, DATA[10:20]),
    ("/ranges/f.bin", {"Range": "bytes=-5"}, 206, "Partial Content", {"Content-Range": "bytes 10235-10239/" + N},
     DATA[-5:]),
    ("/ranges/f.bin", {"Range": "bytes=10240-"}, 416, "Requested Range Not Satisfiable",
     {"Content-Range": "bytes */" + N}, b""),
    ("/plain/f.bin", {"Range": "bytes=10-19"}, 200, "OK", {"Accept-Ranges": None, "Content-Length": N}, DATA),
    ("/nolength/f.bin", {"Range": "bytes=10-19"}, 200, "OK",
     {"Accept-Ranges": None, "Content-Length": None, "Connection": "close"}, DATA),
    ("/slow=400000/sub/g.bin", {}, 200, "OK", {"Content-Length": "3"}, b"abc"),
    ("/missing=f.bin/ranges/f.bin", {}, 404, "Not Found", {"Content-Length": "0"}, b""),
    ("/missing=g.bin/sub/g.bin", {}, 404, "Not Found", {}, b""),
    ("/missing=sub%2Fg.bin/sub/g.bin", {}, 404, "Not Found", {}, b""),
    ("/missing=h.bin/missing=sub%2Fh.bin/sub/g.bin", {}, 200, "OK", {}, b"abc"),
    ("/missing=seg001.ts/f.bin", {}, 200, "OK", {}, DATA),
    ("/reason=No%20Such%20Film/none.bin", {}, 404, "No Such Film", {}, b""),
    ("/reason=Gone/missing=f.bin/plain/f.bin", {}, 404, "Gone", {}, b""),
    ("/plain", {}, 404, "Not Found", {}, b""),
    ("/sub", {}, 404, "Not Found", {}, b""),
    ("/slow=0/f.bin", {}, 400, "Bad Request: slow= takes a whole number of bytes above 0", {}, b""),
    ("/drop=x/f.bin", {}, 400, "Bad Request: drop= takes a whole number of bytes above 0", {}, b""),
    ("/ranges/plain/f.bin", {}, 400, "Bad Request: both ranges and plain", {}, b""),
    ("/live/event/hls/vod.m3u8", {}, 400, "Bad Request: both live and event", {}, b""),
    ("/missing=/f.bin", {}, 400, "Bad Request: missing= takes a file name", {}, b""),
    ("/reason=a%0D%0Ab/f.bin", {}, 400, "Bad Request: reason= takes printable ASCII text", {}, b""),
    ("/sub/..%2F..%2Fetc/passwd", {}, 400, "Bad Request: a file path outside the folder", {}, b""),
    ("/live/f.bin", {}, 200, "OK", {"Content-Length": N}, DATA),
    ("/live/hls/empty.m3u8", {}, 500, "Internal Server Error: hls/empty.m3u8 is no media playlist with segments",
     {}, b""),
    ("/event/hls/vod.m3u8", {}, 200, "OK", {"Content-Type": "application/vnd.apple.mpegurl"},
     media_server.event_playlist(VOD, 0).encode()),
]


class Server:
    def __init__(self, folder, *options):
        port_file = os.path.join(folder, "port")
        self.process = subprocess.Popen([sys.executable, os.path.join(HERE, "media_server.py"), folder, port_file,
                                         *options], stderr=subprocess.PIPE, text=True)
        for _ in range(200):
            if os.path.exists(port_file) or self.process.poll() is not None:
                break
            time.sleep(0.05)
        with open(port_file) as f:
            self.port = int(f.read())

    def connect(self):
        return http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)

    def stop(self):
        self.process.kill()
        self.process.wait()
        self.process.stderr.close()


class MediaServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        os.makedirs(os.path.join(cls.folder.name, "sub"))
        os.makedirs(os.path.join(cls.folder.name, "hls"))
        for path, content in [("f.bin", DATA), ("sub/g.bin", b"abc"), ("hls/vod.m3u8", VOD.encode()),
                              ("hls/empty.m3u8", b"#EXTM3U\n#EXT-X-ENDLIST\n")]:
            with open(os.path.join(cls.folder.name, path), "wb") as f:
                f.write(content)
        cls.server = Server(cls.folder.name, "--seconds", "120")

    def connect(self):
        connection = self.server.connect()
        self.addCleanup(connection.close)
        return connection

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.folder.cleanup()

    def test_conditions_answer_as_their_rows_say(self):
        for path, request, status, reason, headers, body in EXCHANGES:
            with self.subTest(path=path, request=request):
                connection = self.connect()
                connection.request("GET", path, headers=request)
                answer = connection.getresponse()
                self.assertEqual((answer.status, answer.reason), (status, reason))
                for name, value in headers.items():
                    self.assertEqual(answer.getheader(name), value, name)
                self.assertEqual(answer.read(), body)

    def test_a_dropped_body_ends_short_of_its_length_and_closes(self):
        connection = self.connect()
        connection.request("GET", "/drop=1000/ranges/f.bin", headers={"Range": "bytes=100-"})
        answer = connection.getresponse()
        self.assertEqual((answer.status, answer.getheader("Content-Length")), (206, "10140"))
        with self.assertRaises(http.client.IncompleteRead) as cut:
            answer.read()
        self.assertEqual(cut.exception.partial, DATA[100:1100])

    def test_known_lengths_keep_the_connection_and_head_has_no_body(self):
        connection = self.connect()
        for method, path, body in [("GET", "/ranges/f.bin", DATA), ("HEAD", "/plain/f.bin", b""),
                                   ("GET", "/none.bin", b""), ("GET", "/sub/g.bin", b"abc")]:
            with self.subTest(method=method, path=path):
                connection.request(method, path)
                answer = connection.getresponse()
                self.assertEqual((answer.read(), answer.will_close), (body, False))
        connection.request("HEAD", "/nolength/f.bin")
        answer = connection.getresponse()
        self.assertEqual((answer.read(), answer.will_close), (b"", True))

    def test_a_live_playlist_starts_at_its_first_request(self):
        connection = self.connect()
        connection.request("GET", "/live/hls/vod.m3u8")
        self.assertEqual(connection.getresponse().read().decode(), media_server.live_playlist(VOD, 0))


def media_lines(text):
    return [line for line in text.splitlines()
            if not line.startswith(("#EXTM3U", "#EXT-X-VERSION", "#EXT-X-TARGETDURATION", "#EXTINF"))]


class PlaylistTest(unittest.TestCase):
    def test_the_live_window_moves_one_segment_each_duration_and_loops(self):
        # seconds since the start -> the lines after the header, #EXTINF left out
        rows = [
            (0, ["#EXT-X-MEDIA-SEQUENCE:0", "#EXT-X-DISCONTINUITY-SEQUENCE:0", "seg000.ts", "seg001.ts", "seg002.ts"]),
            (1.999, ["#EXT-X-MEDIA-SEQUENCE:0", "#EXT-X-DISCONTINUITY-SEQUENCE:0", "seg000.ts", "seg001.ts",
                     "seg002.ts"]),
            (2, ["#EXT-X-MEDIA-SEQUENCE:1", "#EXT-X-DISCONTINUITY-SEQUENCE:0", "seg001.ts", "seg002.ts", "seg003.ts"]),
            (8.5, ["#EXT-X-MEDIA-SEQUENCE:4", "#EXT-X-DISCONTINUITY-SEQUENCE:0", "seg004.ts", "seg005.ts",
                   "#EXT-X-DISCONTINUITY", "seg000.ts"]),
            (12, ["#EXT-X-MEDIA-SEQUENCE:6", "#EXT-X-DISCONTINUITY-SEQUENCE:0", "#EXT-X-DISCONTINUITY", "seg000.ts",
                  "seg001.ts", "seg002.ts"]),
            (14, ["#EXT-X-MEDIA-SEQUENCE:7", "#EXT-X-DISCONTINUITY-SEQUENCE:1", "seg001.ts", "seg002.ts",
                  "seg003.ts"]),
            (24, ["#EXT-X-MEDIA-SEQUENCE:12", "#EXT-X-DISCONTINUITY-SEQUENCE:1", "#EXT-X-DISCONTINUITY",
                  "seg000.ts", "seg001.ts", "seg002.ts"]),
        ]
        for elapsed, lines in rows:
            with self.subTest(elapsed=elapsed):
                text = media_server.live_playlist(VOD, elapsed)
                self.assertTrue(text.startswith("#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n"), text)
                self.assertEqual(media_lines(text), lines)

    def test_an_event_grows_from_three_segments_to_its_end(self):
        rows = [(0, 3, False), (1.9, 3, False), (2, 4, False), (5.99, 5, False), (6, 6, True), (100, 6, True)]
        for elapsed, count, ended in rows:
            with self.subTest(elapsed=elapsed):
                expected = (["#EXT-X-PLAYLIST-TYPE:EVENT", "#EXT-X-MEDIA-SEQUENCE:0"] +
                            ["seg%03d.ts" % i for i in range(count)] + (["#EXT-X-ENDLIST"] if ended else []))
                self.assertEqual(media_lines(media_server.event_playlist(VOD, elapsed)), expected)

    def test_segments_of_their_own_durations(self):
        uneven = "#EXTM3U\n#EXT-X-TARGETDURATION:3\n#EXTINF:1.5,\na.ts\n#EXTINF:2.5,\nb.ts\n#EXTINF:3,\nc.ts\n"
        rows = [(0, 0), (1.49, 0), (1.5, 1), (3.99, 1), (4, 2), (6.99, 2), (7, 3), (8.5, 4)]
        for elapsed, passed in rows:
            with self.subTest(elapsed=elapsed):
                self.assertEqual(media_server.segments_passed(media_server.parse_media_playlist(uneven)[1], elapsed),
                                 passed)

    def test_what_is_no_media_playlist_is_refused(self):
        for text in ["", "#EXTM3U\n", "seg.ts\n#EXTINF:2,\n", "#EXTINF:2,\na.ts\n", "#EXTM3U\n#EXTINF:0,\na.ts\n",
                     "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nlow.m3u8\n"]:
            with self.subTest(text=text):
                with self.assertRaises(ValueError):
                    media_server.live_playlist(text, 0)


class CommandLineTest(unittest.TestCase):
    def test_bad_arguments_are_named_and_the_server_stops_by_itself(self):
        with tempfile.TemporaryDirectory() as folder:
            for arguments, message in [([os.path.join(folder, "none"), "p"], "no folder"),
                                       ([folder, "p", "--seconds", "0"], "--seconds must be above 0")]:
                with self.subTest(arguments=arguments):
                    run = subprocess.run([sys.executable, os.path.join(HERE, "media_server.py"), *arguments],
                                         capture_output=True, text=True, timeout=30)
                    self.assertEqual(run.returncode, 2)
                    self.assertIn(message, run.stderr)
            server = Server(folder, "--seconds", "0.5")
            self.assertEqual(server.process.wait(timeout=30), 0)
            server.process.stderr.close()


if __name__ == "__main__":
    unittest.main()
