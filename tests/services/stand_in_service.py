#!/usr/bin/env python3
"""A local stand-in for the maker's update and report services.

Listens on 127.0.0.1 on a free port and writes that port, and a port on which nothing
listens, into the state folder. The first segment of a request's path picks the behaviour:
update requests (GET) get the answer of ANSWERS, reports (POST) are recorded as
<segment>-<n>.head and <segment>-<n>.body in the state folder. Every GET is logged to
requests.log as "<path> <user-agent>". "flip" answers a new version and none in turn, a
new version first. Two segments answer no request in time: "trickle"
sends its answer a byte every TRICKLE_SECONDS, "silent" never answers at all.

A second listener on 127.0.0.2 (its port in silent-port) accepts connections and never sends
a byte: an https address there stalls a client in its TLS handshake, as a firewall or a
captive portal that swallows the traffic does. Runs until it is terminated.
"""
import argparse
import http.server
import os
import socket
import threading
import time

YES = b'{"update_available": 1}'
ANSWERS = {
    "one": (200, YES),
    "zero": (200, b'{"update_available": 0}'),
    "two": (200, b'{"update_available": 2}'),
    "quoted": (200, b'{"update_available": "1"}'),
    "missing": (200, b'{"version": "1.2"}'),
    "malformed": (200, b'{"update_available": 1x}'),
    "long": (200, b'{"notes": "' + b"x" * 600 + b'", "update_available": 1}'),
    "longyes": (200, b'{"update_available": 1, "notes": "' + b"x" * 600 + b'"}'),
    "slow": (200, YES),
    "late": (200, YES),
    "error": (503, YES),
}
SLOW_SECONDS = 12
LATE_SECONDS = 2
TRICKLE_SECONDS = 2


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def segment(self):
        return self.path.lstrip("/").split("/", 1)[0].split("?", 1)[0]

    def answer(self, status, body):
        try:
            self.send_response(status)
            self.send_header("Content-Type", "application/json")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
        except OSError:
            pass  # the client gave up waiting

    def hold(self, segment):
        """Answers "trickle" a byte at a time and "silent" never; True when it did either."""
        try:
            if segment == "trickle":
                for byte in b"HTTP/1.1 200 OK\r\nContent-Length: 23\r\n\r\n" + YES:
                    self.wfile.write(bytes([byte]))
                    self.wfile.flush()
                    time.sleep(TRICKLE_SECONDS)
            elif segment == "silent":
                while self.connection.recv(4096):
                    pass
            else:
                return False
        except OSError:
            pass
        self.close_connection = True
        return True

    def do_GET(self):
        state = self.server.state
        with self.server.lock:
            with open(os.path.join(state, "requests.log"), "a") as log:
                log.write(f"{self.path} {self.headers.get('User-Agent', '')}\n")
        segment = self.segment()
        if self.hold(segment):
            return
        if segment == "flip":
            with self.server.lock:
                flips = self.server.counts["GET flip"] = self.server.counts.get("GET flip", 0) + 1
            return self.answer(200, b'{"update_available": %d}' % (flips % 2))
        if segment == "slow":
            time.sleep(SLOW_SECONDS)
        if segment == "late":
            time.sleep(LATE_SECONDS)
        status, body = ANSWERS.get(segment, (404, b"not found"))
        self.answer(status, body)

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        segment = self.segment()
        if self.hold(segment):
            return
        with self.server.lock:
            self.server.counts[segment] = self.server.counts.get(segment, 0) + 1
            name = os.path.join(self.server.state, f"{segment}-{self.server.counts[segment]}")
            with open(name + ".head", "w") as head:
                head.write(self.requestline + "\n" + str(self.headers))
            with open(name + ".body", "wb") as out:
                out.write(body)
        if segment == "slow":
            time.sleep(SLOW_SECONDS)
        self.answer(500 if segment == "reject" else 200, b"ok")


def write_atomically(path, text):
    with open(path + ".tmp", "w") as out:
        out.write(text)
    os.replace(path + ".tmp", path)


def swallow(listener):
    """Accepts every connection and keeps it open without a word."""
    held = []
    while True:
        connection, _ = listener.accept()
        held.append(connection)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--state", required=True)
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.state = args.state
    server.lock = threading.Lock()
    server.counts = {}
    with socket.socket() as closed:
        closed.bind(("127.0.0.1", 0))
        closed_port = closed.getsockname()[1]
    silent = socket.socket()
    silent.bind(("127.0.0.2", 0))
    silent.listen(16)
    threading.Thread(target=swallow, args=(silent,), daemon=True).start()
    write_atomically(os.path.join(args.state, "closed-port"), str(closed_port))
    write_atomically(os.path.join(args.state, "silent-port"), str(silent.getsockname()[1]))
    write_atomically(os.path.join(args.state, "port"), str(server.server_address[1]))
    server.serve_forever()


if __name__ == "__main__":
    main()
