#!/usr/bin/env python3
"""Web requests from scripts (MSXML2.XMLHTTP, ServerXMLHTTP, WinHttp.WinHttpRequest.5.1)
against a server on 127.0.0.1 that this test starts: GET and POST, headers, status,
bodies as text and bytes, redirects, asynchronous polling, a refused connection and a
request that runs into the time limit. Usage: test_web_requests.py PATH/TO/vbsrun"""
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time
import unittest

VBSRUN = None


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def reply(self, code, body, content_type="text/plain; charset=utf-8", headers=()):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path == "/hello":
            self.reply(200, "Grüße, world".encode("utf-8"), headers=[("X-Test", "yes")])
        elif self.path == "/bytes":
            self.reply(200, bytes(range(256)), "application/octet-stream")
        elif self.path == "/moved":
            self.reply(302, b"", headers=[("Location", "/hello")])
        elif self.path == "/slow":
            time.sleep(5)
            self.reply(200, b"late")
        else:
            self.reply(404, b"no such page")

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.reply(201, b"got " + body + b" as " + self.headers.get("Content-Type", "").encode())


class WebRequests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        cls.server.daemon_threads = True
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.url = "http://127.0.0.1:%d" % cls.server.server_address[1]

    @classmethod
    def tearDownClass(cls):
        cls.server.shutdown()

    def run_script(self, text, *options):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "web.vbs")
            with open(path, "w", encoding="utf-8") as f:
                f.write(text.replace("URL", self.url))
            started = time.monotonic()
            run = subprocess.run([VBSRUN, *options, path], capture_output=True, timeout=60, cwd=folder)
            self.took = time.monotonic() - started
        return run.returncode, run.stdout.decode("utf-8"), run.stderr.decode("utf-8")

    def test_get_and_post_in_every_family(self):
        for progid in ("MSXML2.XMLHTTP", "MSXML2.ServerXMLHTTP.6.0", "WinHttp.WinHttpRequest.5.1"):
            with self.subTest(progid=progid):
                code, out, err = self.run_script(
                    'Set r = CreateObject("%s")\n'
                    'r.open "GET", "URL/hello", False\n'
                    'r.send\n'
                    'WScript.Echo r.status & " " & r.statusText & " " & r.responseText & " " & r.getResponseHeader("x-test")\n'
                    'r.open "POST", "URL/echo", False\n'
                    'r.setRequestHeader "Content-Type", "application/x-www-form-urlencoded"\n'
                    'r.send "a=1&b=ü"\n'
                    'WScript.Echo r.Status & " " & r.ResponseText\n'
                    'r.open "GET", "URL/missing", False\n'
                    'r.send\n'
                    'WScript.Echo r.status\n' % progid)
                self.assertEqual((code, err), (0, ""))
                self.assertEqual(out, "200 OK Grüße, world yes\n201 got a=1&b=ü as application/x-www-form-urlencoded\n404\n")

    def test_bytes_headers_and_redirects(self):
        code, out, err = self.run_script(
            'Set r = CreateObject("MSXML2.XMLHTTP")\n'
            'r.open "GET", "URL/bytes", False\n'
            'r.send\n'
            'b = r.responseBody\n'
            'WScript.Echo TypeName(b) & " " & LenB(b) & " " & AscB(MidB(b, 256, 1))\n'
            'WScript.Echo InStr(r.getAllResponseHeaders, "Content-Type: application/octet-stream") > 0\n'
            'r.open "GET", "URL/moved", False\n'
            'r.send\n'
            'WScript.Echo r.status & " " & r.responseText\n'
            'Set w = CreateObject("WinHttp.WinHttpRequest.5.1")\n'
            'w.Option(6) = False\n'
            'w.Open "GET", "URL/moved", False\n'
            'w.Send\n'
            'WScript.Echo w.Status & " " & w.GetResponseHeader("Location")\n')
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out, "Byte() 256 255\n-1\n200 Grüße, world\n302 /hello\n")

    def test_asynchronous_polling(self):
        code, out, err = self.run_script(
            'Set r = CreateObject("MSXML2.XMLHTTP")\n'
            'r.open "GET", "URL/hello", True\n'
            'r.send\n'
            'Do While r.readyState <> 4 : WScript.Sleep 10 : Loop\n'
            'WScript.Echo r.status\n'
            'Set w = CreateObject("WinHttp.WinHttpRequest.5.1")\n'
            'w.Open "GET", "URL/hello", True\n'
            'w.Send\n'
            'WScript.Echo w.WaitForResponse(10) & " " & w.Status\n')
        self.assertEqual((code, out, err), (0, "200\nTrue 200\n", ""))

    def test_failures_raise_what_windows_raises(self):
        # A port where nothing listens: refused at once.
        code, out, err = self.run_script(
            'On Error Resume Next\n'
            'Set r = CreateObject("WinHttp.WinHttpRequest.5.1")\n'
            'r.Open "GET", "http://127.0.0.1:9/", False\n'
            'r.Send\n'
            'WScript.Echo Hex(Err.Number)\n'
            'Err.Clear\n'
            'Set x = CreateObject("MSXML2.XMLHTTP")\n'
            'x.open "GET", "http://127.0.0.1:9/", False\n'
            'x.send\n'
            'WScript.Echo Hex(Err.Number)\n'
            'Err.Clear\n'
            'w = x.status\n'
            'WScript.Echo Err.Number <> 0\n'
            'Set t = CreateObject("WinHttp.WinHttpRequest.5.1")\n'
            't.SetTimeouts 0, 500, 500, 500\n'
            't.Open "GET", "URL/slow", False\n'
            't.Send\n'
            'WScript.Echo Hex(Err.Number)\n')
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out, "80072EFD\n800C0005\n-1\n80072EE2\n")

    def test_waiting_gives_way_to_the_time_limit(self):
        code, out, err = self.run_script(
            'Set r = CreateObject("MSXML2.XMLHTTP")\n'
            'r.open "GET", "URL/slow", False\n'
            'r.send\n', "--timeout", "1")
        self.assertEqual(code, 1)
        self.assertIn("error 5300", err)
        self.assertLess(self.took, 3)


if __name__ == "__main__":
    VBSRUN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
