"""Sends response bodies, properly or in one of the broken ways the downloader must survive."""

import select
import socket
import time

MAX_STALL_SECONDS = 30.0

# Pattern bodies: byte i of a body is i % 251, so a client can check every byte it got.
PATTERN_PERIOD = 251
_PATTERN_BLOCK = bytes(i % PATTERN_PERIOD for i in range(PATTERN_PERIOD * 256))

FAULT_KINDS = ("nolength", "truncated", "stall", "drop")


class Body:
    """A response body of known length, produced in chunks so large bodies never sit in memory."""

    def __init__(self, length, chunks):
        self.length = length
        self._chunks = chunks

    @staticmethod
    def of(data):
        return Body(len(data), lambda limit: iter([data[:limit]]))

    @staticmethod
    def pattern(size):
        def chunks(limit):
            left = min(size, limit)
            while left > 0:
                piece = _PATTERN_BLOCK[: min(left, len(_PATTERN_BLOCK))]
                left -= len(piece)
                yield piece

        return Body(size, chunks)

    def chunks(self, limit=None):
        return self._chunks(self.length if limit is None else min(limit, self.length))


def is_fault_kind(kind):
    return kind in FAULT_KINDS or (kind.isdigit() and len(kind) == 3)


class Fault:
    """How to break one answer: `kind` is a FAULT_KINDS entry or a three-digit status code."""

    def __init__(self, kind, sent=None, max_seconds=MAX_STALL_SECONDS):
        self.kind = kind
        self.sent = sent
        self.max_seconds = min(max(max_seconds, 0.0), MAX_STALL_SECONDS)

    def describe(self):
        return {"kind": self.kind, "sent": self.sent, "max": self.max_seconds}


def send(handler, status, content_type, body, fault=None, headers=()):
    """Answers the request on `handler` (a BaseHTTPRequestHandler) with `body`, broken by `fault`."""
    kind = fault.kind if fault else None
    if kind == "drop":
        handler.close_connection = True
        return
    if kind and kind.isdigit():
        status, content_type = int(kind), "text/plain; charset=utf-8"
        body, headers = Body.of(("%s fault\n" % kind).encode()), ()
    handler.send_response(status)
    handler.send_header("Content-Type", content_type)
    handler.send_header("Cache-Control", "no-store")
    for name, value in headers:
        handler.send_header(name, value)
    if kind == "nolength":
        handler.send_header("Connection", "close")
        handler.close_connection = True
    else:
        handler.send_header("Content-Length", str(body.length))
    if kind in ("truncated", "stall"):
        handler.send_header("Connection", "close")
        handler.close_connection = True
    handler.end_headers()
    if handler.command == "HEAD":
        return
    limit = None
    if kind == "truncated":
        limit = body.length // 2 if fault.sent is None else fault.sent
        limit = min(limit, max(body.length - 1, 0))
    elif kind == "stall":
        limit = fault.sent or 0
    try:
        for chunk in body.chunks(limit):
            handler.wfile.write(chunk)
        handler.wfile.flush()
        if kind == "stall":
            _wait_for_close(handler, fault.max_seconds)
    except (BrokenPipeError, ConnectionResetError):
        handler.close_connection = True


def _wait_for_close(handler, max_seconds):
    """Holds the connection open until the client closes it, the server stops or the time runs out."""
    deadline = time.monotonic() + max_seconds
    conn = handler.connection
    while not handler.server.stopping.is_set():
        left = deadline - time.monotonic()
        if left <= 0:
            return
        readable, _, _ = select.select([conn], [], [], min(left, 0.25))
        if readable:
            try:
                if not conn.recv(4096, socket.MSG_DONTWAIT):
                    return
            except BlockingIOError:
                continue
            except OSError:
                return
