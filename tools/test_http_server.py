#!/usr/bin/env python3
"""A small scripted HTTP server for the tests, on 127.0.0.1 only.

Usage:
  python3 tools/test_http_server.py --script ROUTES.json --port-file FILE
      [--port N] [--log FILE.jsonl] [--raw-log FILE]
      [--max-requests N] [--idle-seconds T] [--lifetime-seconds T]

It listens on 127.0.0.1:N (N = 0, the default, picks a free port), writes the
port number it got to --port-file (atomically, once it accepts connections),
answers every request from the script and records it. It exits by itself
after --max-requests requests (default 200, at most 10000), after
--idle-seconds without a request (default 30, at most 600), or after
--lifetime-seconds in all (default 600, at most 3600); SIGTERM stops it too.

Every connection carries one request: the answer says "Connection: close".
The server also serves as an HTTP proxy: a proxied request names an absolute
URL in its request line, which is recorded as it came and routed by its path.

Records:
  --log      one JSON object per request and line: "n" (1, 2, ...),
             "request_line", "method", "target" (exactly as sent), "version",
             "headers" (the header lines in order, as sent), "body_hex".
             Bytes are decoded as Latin-1, so every byte survives.
  --raw-log  the bytes of every request exactly as received, appended one
             after another (request line, header lines, blank line, body).

Script: a JSON object
  {"routes": {"/path": RESPONSE, ...}, "default": RESPONSE}
A request is answered by the route whose key equals its target, else its
path with the query, else its path without the query (for an absolute URL
the path is what follows the host), else by "default" (a 404 when missing).
RESPONSE fields, all optional:
  "status"      status code (default 200); "reason" its text (default from
                the code); or "status_line" for the whole raw first line.
  "headers"     header lines in order, each a string, a list of PARTS, or
                {"repeat": LINE, "count": K} for K copies of LINE with
                "{i}" in it replaced by 1..K.
  "body"        the body: a string or a list of PARTS.
  "charset"     how strings are encoded into bytes (default "utf-8"; any
                Python codec name, e.g. "gbk").
  "echo"        "raw": the body is the request's own bytes; "hex": the same
                in lower-case hex digits (for request bodies with zero bytes).
  "raw"         true: send the headers exactly as listed; otherwise
                Content-Length and "Connection: close" are added when the
                script does not name them.
Faults, for the tests of a client that must survive a failing site:
  "stall"       seconds (at most 60) to wait after reading the request
                before answering; "silent": true closes without answering.
  "reset_after" send only this many bytes of the answer, then reset the
                connection (RST, not an orderly close).
  "trickle"     {"bytes": K, "interval": T}: send the answer K bytes at a
                time, T seconds (at most 5) apart, for at most 60 seconds.
PARTS: strings, {"hex": "00ff"} or {"repeat": "x", "count": K}.

Example:
  {"routes": {"/echo": {"echo": "raw"},
              "/cookies": {"headers": ["Set-Cookie: a=1; path=/",
                                       "Set-Cookie: b=2; path=/"],
                           "body": "ok"}}}
"""

import argparse
import binascii
import http
import json
import os
import signal
import socket
import socketserver
import struct
import sys
import threading
import time
import urllib.parse

MAX_HEAD_BYTES = 1 << 20
MAX_BODY_BYTES = 16 << 20
MAX_STALL_SECONDS = 60
MAX_TRICKLE_SECONDS = 60


def bounded(value, low, high, name):
    if not low <= value <= high:
        sys.exit(f"test_http_server: {name} must lie in {low}..{high}")
    return value


def encode_parts(parts, charset):
    if isinstance(parts, str):
        return parts.encode(charset)
    out = bytearray()
    for part in parts:
        if isinstance(part, str):
            out += part.encode(charset)
        elif "hex" in part:
            out += binascii.unhexlify(part["hex"])
        elif "repeat" in part:
            out += part["repeat"].encode(charset) * int(part["count"])
        else:
            raise ValueError(f"unknown part {part!r}")
    return bytes(out)


def header_lines(entries, charset):
    lines = []
    for entry in entries:
        if isinstance(entry, dict):
            pattern = entry["repeat"]
            lines += [pattern.replace("{i}", str(i)).encode(charset) for i in range(1, int(entry["count"]) + 1)]
        else:
            lines.append(encode_parts(entry, charset))
    return lines


def request_path(target):
    """The path with query of a request target, for absolute URLs too."""
    if "://" in target:
        parts = urllib.parse.urlsplit(target)
        return parts.path + ("?" + parts.query if parts.query else "") or "/"
    return target


class Recorder:
    def __init__(self, log_path, raw_path):
        self.lock = threading.Lock()
        self.count = 0
        self.last_activity = time.monotonic()
        self.log_path = log_path
        self.raw_path = raw_path

    def touch(self):
        with self.lock:
            self.last_activity = time.monotonic()

    def record(self, request):
        with self.lock:
            self.count += 1
            self.last_activity = time.monotonic()
            entry = dict(request["fields"], n=self.count)
            if self.log_path:
                with open(self.log_path, "a", encoding="utf-8") as log:
                    log.write(json.dumps(entry, ensure_ascii=True) + "\n")
            if self.raw_path:
                with open(self.raw_path, "ab") as raw:
                    raw.write(request["raw"])


class Handler(socketserver.StreamRequestHandler):
    timeout = 30

    def handle(self):
        self.server.recorder.touch()
        request = self.read_request()
        if request is None:
            return
        self.server.recorder.record(request)
        response = self.route(request["target"])
        answer = self.build_response(request)
        stall = min(float(response.get("stall", 0)), MAX_STALL_SECONDS)
        if stall:
            time.sleep(stall)
        if response.get("silent"):
            return
        try:
            if "reset_after" in response:
                self.send_then_reset(answer[: int(response["reset_after"])])
            elif "trickle" in response:
                self.send_slowly(answer, response["trickle"])
            else:
                self.wfile.write(answer)
                self.wfile.flush()
        except OSError:
            pass  # the client went away

    def send_then_reset(self, data):
        self.wfile.write(data)
        self.wfile.flush()
        # Linger on with a zero time-out: close() then sends RST.
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.connection.close()

    def send_slowly(self, data, trickle):
        size = max(1, int(trickle.get("bytes", 1)))
        interval = min(max(float(trickle.get("interval", 1)), 0.01), 5)
        stop = time.monotonic() + MAX_TRICKLE_SECONDS
        for at in range(0, len(data), size):
            if time.monotonic() > stop:
                return
            self.wfile.write(data[at : at + size])
            self.wfile.flush()
            time.sleep(interval)

    def read_request(self):
        head = bytearray()
        lines = []
        while True:
            line = self.rfile.readline(MAX_HEAD_BYTES)
            if not line:
                return None
            head += line
            if len(head) > MAX_HEAD_BYTES:
                return None
            stripped = line.rstrip(b"\r\n")
            if not stripped:
                if lines:
                    break
                continue  # stray blank lines before a request
            lines.append(stripped)
        length = 0
        for line in lines[1:]:
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"content-length":
                length = min(int(value.strip() or b"0"), MAX_BODY_BYTES)
        body = self.rfile.read(length) if length else b""
        request_line = lines[0].decode("latin-1")
        method, _, rest = request_line.partition(" ")
        target, _, version = rest.partition(" ")
        return {
            "raw": bytes(head) + body,
            "fields": {
                "request_line": request_line,
                "method": method,
                "target": target,
                "version": version,
                "headers": [line.decode("latin-1") for line in lines[1:]],
                "body_hex": body.hex(),
            },
            "target": target,
            "body": body,
        }

    def route(self, target):
        routes = self.server.script.get("routes", {})
        path = request_path(target)
        for key in (target, path, path.split("?", 1)[0]):
            if key in routes:
                return routes[key]
        return self.server.script.get("default", {"status": 404, "body": "no such route"})

    def build_response(self, request):
        response = self.route(request["target"])
        charset = response.get("charset", "utf-8")
        echo = response.get("echo")
        if echo == "raw":
            body = request["raw"]
        elif echo == "hex":
            body = request["raw"].hex().encode("ascii")
        else:
            body = encode_parts(response.get("body", ""), charset)
        if "status_line" in response:
            status = response["status_line"].encode(charset)
        else:
            code = int(response.get("status", 200))
            try:
                default_reason = http.HTTPStatus(code).phrase
            except ValueError:
                default_reason = "Status"
            status = f"HTTP/1.1 {code} {response.get('reason', default_reason)}".encode(charset)
        lines = header_lines(response.get("headers", []), charset)
        if not response.get("raw"):
            names = {line.partition(b":")[0].strip().lower() for line in lines}
            if b"content-length" not in names:
                lines.append(b"Content-Length: %d" % len(body))
            if b"connection" not in names:
                lines.append(b"Connection: close")
        return status + b"\r\n" + b"".join(line + b"\r\n" for line in lines) + b"\r\n" + body


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    # Joined on exit, so the answer to the last request is sent in full.
    daemon_threads = False


def write_port_file(path, port):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="ascii") as out:
        out.write(f"{port}\n")
    os.replace(temporary, path)


def main():
    parser = argparse.ArgumentParser(description="Scripted loopback HTTP server for tests.")
    parser.add_argument("--script", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--log")
    parser.add_argument("--raw-log")
    parser.add_argument("--max-requests", type=int, default=200)
    parser.add_argument("--idle-seconds", type=float, default=30)
    parser.add_argument("--lifetime-seconds", type=float, default=600)
    args = parser.parse_args()
    bounded(args.port, 0, 65535, "--port")
    max_requests = bounded(args.max_requests, 1, 10000, "--max-requests")
    idle = bounded(args.idle_seconds, 0.1, 600, "--idle-seconds")
    lifetime = bounded(args.lifetime_seconds, 0.1, 3600, "--lifetime-seconds")

    with open(args.script, encoding="utf-8") as script_file:
        script = json.load(script_file)

    server = Server(("127.0.0.1", args.port), Handler)
    server.script = script
    server.recorder = Recorder(args.log, args.raw_log)
    server.timeout = 0.2
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    write_port_file(args.port_file, server.server_address[1])

    started = time.monotonic()
    try:
        while not stop.is_set():
            server.handle_request()
            now = time.monotonic()
            with server.recorder.lock:
                count, last = server.recorder.count, server.recorder.last_activity
            if count >= max_requests or now - last > idle or now - started > lifetime:
                break
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
