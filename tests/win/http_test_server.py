#!/usr/bin/env python3
"""Runs a command with a real HTTP server on 127.0.0.1 beside it, for the Windows tests of usage
events and the update check. The server's port is given to the command as TEST_HTTP_PORT.

What the server does is set by the tests through /_control/... requests:
  GET /_control/reset                      forget records and settings
  GET /_control/track?status=N             status for log-service requests (default 200)
  POST /_control/file?path=P&status=N&truncate=1&pad=B&location=L
                                           serve the request body at path P (status N; with
                                           truncate, announce the full length but send half and
                                           close; with pad, append spaces up to B bytes; with
                                           location, a Location header: a redirect)
  POST /_control/file?path=P&linger=S      serve the body at P without a length, then keep the
                                           connection open S seconds before closing it: the body
                                           is whole long before the download ends
  POST /_control/file?path=P&endless=1     serve an endless body at P (no Content-Length; it ends
                                           when the client goes away, or after ENDLESS_LIMIT bytes)
  GET /_control/trickle?part=headers|body  answer every later request one byte per second in that
                                           part (for at most TRICKLE_SECONDS)
  GET /_control/records                    JSON list of the paths of every request received
  GET /_control/agents                     JSON list of their User-Agent headers
  GET /_control/public_key[?which=other]   the test signing key's public half: 128 hex digits,
                                           X then Y (an ECDSA P-256 key made at start by openssl);
                                           with which=other, a second key that signs nothing
  POST /_control/sign                      base64 of the DER signature (SHA-256) of the body
  POST /_control/sha256                    the SHA-256 of the body, 64 lower-case hex digits
Everything else: /logstores/... answers with the track status; other paths serve what was set
for them, else 404.

Usage: http_test_server.py -- COMMAND [ARGS...]   (exit code: the command's)
"""
import base64
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
import time
from urllib.parse import parse_qs, urlsplit

# Bounds on the slow and endless answers, so that no server thread runs for ever.
ENDLESS_LIMIT = 64 * 1024 * 1024
TRICKLE_SECONDS = 120


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        self.records = []
        self.agents = []
        self.track_status = 200
        self.files = {}
        self.trickle = None  # None, "headers" or "body"


STATE = State()


class SigningKey:
    """An ECDSA P-256 key pair made with the openssl command line, as a release would be signed."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="signing_key_")
        self.private = os.path.join(self.folder, "key.pem")
        subprocess.run(["openssl", "ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", self.private],
                       check=True, capture_output=True)
        der = subprocess.run(["openssl", "ec", "-in", self.private, "-pubout", "-outform", "DER"], check=True,
                             capture_output=True).stdout
        # The DER public key ends with the uncompressed point: 0x04, X, Y.
        self.public_hex = der[-64:].hex()

    def sign(self, data):
        der = subprocess.run(["openssl", "dgst", "-sha256", "-sign", self.private], input=data, check=True,
                             capture_output=True).stdout
        return base64.b64encode(der)


KEY = None
OTHER_KEY = None


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body=b"", content_type="application/octet-stream", trickle=None):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        if trickle is None:
            self.end_headers()
            self.wfile.write(body)
            return
        # The status line and headers are kept back by send_response and written by end_headers.
        head = b"".join(self._headers_buffer) + b"\r\n"
        self._headers_buffer = []
        self.close_connection = True
        deadline = time.monotonic() + TRICKLE_SECONDS
        try:
            for part, data in (("headers", head), ("body", body)):
                if trickle == part:
                    self.trickle_bytes(data, deadline)
                else:
                    self.wfile.write(data)
                    self.wfile.flush()
        except OSError:
            pass  # the client went away

    def trickle_bytes(self, data, deadline):
        for i in range(len(data)):
            if time.monotonic() > deadline:
                return
            self.wfile.write(data[i:i + 1])
            self.wfile.flush()
            time.sleep(1)

    def endless(self, status):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        block = b"x" * 65536
        try:
            for _ in range(ENDLESS_LIMIT // len(block)):
                self.wfile.write(block)
        except OSError:
            pass  # the client stopped reading and closed

    def lingering(self, status, body, seconds):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        try:
            self.wfile.write(body)
            self.wfile.flush()
            time.sleep(seconds)
        except OSError:
            pass  # the client went away

    def control(self, path, query):
        with STATE.lock:
            if path == "/_control/reset":
                STATE.reset()
            elif path == "/_control/track":
                STATE.track_status = int(query.get("status", ["200"])[0])
            elif path == "/_control/trickle":
                STATE.trickle = query.get("part", [None])[0]
            elif path == "/_control/records":
                return self.reply(200, json.dumps(STATE.records).encode(), "application/json")
            elif path == "/_control/agents":
                return self.reply(200, json.dumps(STATE.agents).encode(), "application/json")
            elif path == "/_control/public_key":
                key = OTHER_KEY if query.get("which", [""])[0] == "other" else KEY
                return self.reply(200, key.public_hex.encode(), "text/plain")
            elif path == "/_control/sha256":
                body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
                return self.reply(200, hashlib.sha256(body).hexdigest().encode(), "text/plain")
            elif path == "/_control/sign":
                body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
                return self.reply(200, KEY.sign(body), "text/plain")
            elif path == "/_control/file":
                length = int(self.headers.get("Content-Length", "0"))
                body = self.rfile.read(length)
                pad = int(query.get("pad", ["0"])[0])
                if pad > len(body):
                    body += b" " * (pad - len(body))
                STATE.files[query["path"][0]] = {
                    "body": body,
                    "status": int(query.get("status", ["200"])[0]),
                    "truncate": query.get("truncate", ["0"])[0] == "1",
                    "endless": query.get("endless", ["0"])[0] == "1",
                    "location": query.get("location", [None])[0],
                    "linger": float(query.get("linger", ["0"])[0]),
                }
            else:
                return self.reply(404)
        self.reply(200, b"ok")

    def do_POST(self):
        parts = urlsplit(self.path)
        if parts.path.startswith("/_control/"):
            return self.control(parts.path, parse_qs(parts.query))
        self.reply(404)

    def do_GET(self):
        parts = urlsplit(self.path)
        if parts.path.startswith("/_control/"):
            return self.control(parts.path, parse_qs(parts.query))
        with STATE.lock:
            STATE.records.append(self.path)
            STATE.agents.append(self.headers.get("User-Agent", ""))
            track_status = STATE.track_status
            served = STATE.files.get(parts.path)
            trickle = STATE.trickle
        if parts.path.startswith("/logstores/"):
            return self.reply(track_status, b"ok", trickle=trickle)
        if not served:
            return self.reply(404, b"not found", trickle=trickle)
        if served["location"]:
            self.send_response(served["status"])
            self.send_header("Location", served["location"])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if served["endless"]:
            return self.endless(served["status"])
        if served["linger"]:
            return self.lingering(served["status"], served["body"], min(served["linger"], TRICKLE_SECONDS))
        body = served["body"]
        if served["truncate"]:
            self.send_response(served["status"])
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
            return
        self.reply(served["status"], body, trickle=trickle)


def main():
    if "--" not in sys.argv:
        print(__doc__)
        return 2
    command = sys.argv[sys.argv.index("--") + 1:]
    global KEY, OTHER_KEY
    KEY = SigningKey()
    OTHER_KEY = SigningKey()
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    env = dict(os.environ)
    env["TEST_HTTP_PORT"] = str(server.server_address[1])
    # Requests to this machine must not go through a proxy.
    for name in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"):
        env.pop(name, None)
    env["no_proxy"] = "127.0.0.1,localhost"
    try:
        return subprocess.run(command, env=env, timeout=600).returncode
    finally:
        server.shutdown()
        server.server_close()
        for key in (KEY, OTHER_KEY):
            shutil.rmtree(key.folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
