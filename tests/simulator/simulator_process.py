"""Starts the platform simulator on a free port for a test and talks to it."""

import http.client
import json
import os
import select
import signal
import socket
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SIMULATOR = os.path.join(REPO, "tools", "simulator", "simulator.py")
SIGN_TOOL = os.environ.get("GLIDER_SIGN_TOOL") or os.path.join(REPO, "build", "tools", "glider-sign")
PUBLIC_KEY_FILE = os.path.join(REPO, "tools", "simulator", "test-key", "public.b64")
START_DEADLINE = 15.0


class Simulator:
    def __init__(self, *options):
        self.dir = tempfile.TemporaryDirectory(prefix="glider-sim-")
        self.log_path = os.path.join(self.dir.name, "requests.jsonl")
        command = [sys.executable, SIMULATOR, "--port", "0", "--log", self.log_path, "--sign-tool", SIGN_TOOL]
        self.proc = subprocess.Popen(
            command + list(options), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True
        )
        self.port = self._read_port()

    def _read_port(self):
        deadline = time.monotonic() + START_DEADLINE
        while time.monotonic() < deadline:
            ready, _, _ = select.select([self.proc.stdout], [], [], deadline - time.monotonic())
            if not ready:
                break
            line = self.proc.stdout.readline()
            if not line:
                break
            if line.startswith("listening on "):
                return int(line.split()[2])
        raise RuntimeError("simulator did not start: " + self.stop())

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            self.proc.wait(timeout=START_DEADLINE)
        self.proc.stdout.close()
        stderr = self.proc.stderr.read()
        self.proc.stderr.close()
        self.dir.cleanup()
        return stderr

    def request(self, target, method="GET", body=None, headers=None):
        """(status, header dict with lower-case names, body bytes) of one request."""
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=START_DEADLINE)
        try:
            conn.request(method, target, body=body, headers=headers or {})
            reply = conn.getresponse()
            data = reply.read()
            return reply.status, {k.lower(): v for k, v in reply.getheaders()}, data
        finally:
            conn.close()

    def raw(self, target):
        """Everything the server sends for a GET of `target` until it closes: (head text, body bytes)."""
        with socket.create_connection(("127.0.0.1", self.port), timeout=START_DEADLINE) as sock:
            sock.sendall(("GET %s HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n" % target).encode())
            data = b""
            while True:
                chunk = sock.recv(65536)
                if not chunk:
                    break
                data += chunk
        head, _, body = data.partition(b"\r\n\r\n")
        return head.decode("latin-1"), body

    def control(self, query):
        status, _, data = self.request("/_control?" + query)
        return status, data

    def log(self):
        with open(self.log_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f]
