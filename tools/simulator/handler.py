"""Request handling: every request is logged, then routed to a page, a file or a misbehaviour."""

import json
import os
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler

import pages
from delivery import MAX_STALL_SECONDS, Body, Fault, is_fault_kind, send
from state import ControlError

SESSION_COOKIE = "velk_session"
SESSION_MAX_AGE = 30 * 24 * 3600
MAX_BODY = 16 * 1024 * 1024
HTML = "text/html; charset=utf-8"
TEXT = "text/plain; charset=utf-8"
# The smallest transparent GIF: the pixel endpoint's answer.
PIXEL_GIF = bytes.fromhex(
    "47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b"
)


class RequestLog:
    """Appends one JSON line per request; each line goes out in one write on an O_APPEND file."""

    def __init__(self, path):
        self._fd = os.open(path, os.O_WRONLY | os.O_APPEND | os.O_CREAT, 0o644)
        self._lock = threading.Lock()

    def append(self, entry):
        line = (json.dumps(entry, ensure_ascii=False) + "\n").encode("utf-8")
        with self._lock:
            os.write(self._fd, line)

    def close(self):
        os.close(self._fd)


def parse_params(query):
    """Decoded query parameters; the first occurrence of a repeated name wins."""
    params = {}
    for name, value in urllib.parse.parse_qsl(query, keep_blank_values=True, errors="replace"):
        params.setdefault(name, value)
    return params


def encode_uri_component(text):
    return urllib.parse.quote(text, safe="!*'()")


def game_url(server, name):
    return "/game/play.php?wd_entergame=1&wd_server=%s&wd_username=%s" % (
        encode_uri_component(server),
        encode_uri_component(name),
    )


def read_session(cookie_header):
    for part in cookie_header.split(";"):
        name, _, value = part.strip().partition("=")
        if name == SESSION_COOKIE and value:
            account, _, server = urllib.parse.unquote(value).rpartition("|")
            return (account, server) if account else None
    return None


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "GliderPlatformSimulator/1"

    def log_message(self, format, *args):
        pass  # the JSON request log is the record

    def parse_request(self):
        if super().parse_request():
            return True
        self._log_entry("", "", b"")  # malformed requests are recorded too
        return False

    def _log_entry(self, target, query, body):
        headers = dict(self.headers.items()) if hasattr(self, "headers") and self.headers else {}
        raw = self.raw_requestline.decode("latin-1").rstrip("\r\n")
        split = urllib.parse.urlsplit(target)
        self.server.request_log.append(
            {
                "method": getattr(self, "command", "") or "",
                "request_line": raw,
                "path": split.path,
                "query": query,
                "params": parse_params(query),
                "time": round(time.time(), 6),
                "host": split.netloc or headers.get("Host", ""),
                "headers": headers,
                "body": body.decode("utf-8", errors="replace"),
            }
        )

    def _read_body(self):
        try:
            length = int(self.headers.get("Content-Length", "0"))
        except ValueError:
            length = 0
        return self.rfile.read(min(max(length, 0), MAX_BODY)) if length > 0 else b""

    def _dispatch(self):
        target = self.path
        split = urllib.parse.urlsplit(target)
        self.query, self.params = split.query, parse_params(split.query)
        self.body = self._read_body()
        self._log_entry(target, split.query, self.body)
        route = ROUTES.get(split.path)
        if route is None and split.path.startswith("/_misbehave/"):
            route = Handler.misbehave
        fault = None if split.path == "/_control" else self.server.state.take_fault(split.path)
        if route is None:
            self.answer(404, HTML, pages.not_found_page(split.path), fault)
        elif self.command not in ("GET", "HEAD", "POST"):
            self.answer(405, TEXT, "method not allowed\n", fault)
        else:
            route(self, fault)

    do_GET = do_HEAD = do_POST = do_PUT = do_DELETE = do_OPTIONS = do_PATCH = _dispatch

    def answer(self, status, content_type, content, fault=None, headers=()):
        data = content.encode("utf-8") if isinstance(content, str) else content
        send(self, status, content_type, Body.of(data), fault, headers)

    # Pages.
    def login_page(self, fault):
        session = read_session(self.headers.get("Cookie", ""))
        self.answer(200, HTML, pages.login_page(self.params, session), fault)

    def login(self, fault):
        form = self.params
        if self.command == "POST":
            form = parse_params(self.body.decode("utf-8", errors="replace"))
        account, server = form.get("account", ""), form.get("server", "S1")
        cookie = "%s=%s; Max-Age=%d; Path=/" % (
            SESSION_COOKIE,
            urllib.parse.quote(account + "|" + server, safe=""),
            SESSION_MAX_AGE,
        )
        url = game_url(server, account)
        if self.headers.get("X-Requested-With") == "XMLHttpRequest":
            reply = json.dumps({"ok": True, "gameurl": url}, ensure_ascii=False)
            self.answer(200, "application/json; charset=utf-8", reply, fault, [("Set-Cookie", cookie)])
        else:
            self.answer(303, TEXT, "see other\n", fault, [("Set-Cookie", cookie), ("Location", url)])

    def logout(self, fault):
        cookie = "%s=; Max-Age=0; Path=/" % SESSION_COOKIE
        self.answer(303, TEXT, "see other\n", fault, [("Set-Cookie", cookie), ("Location", "/")])

    def game_page(self, fault):
        self.answer(200, HTML, pages.game_page(self.params), fault)

    def return_page(self, fault):
        self.answer(200, HTML, pages.return_page(), fault)

    def social_page(self, fault):
        self.answer(200, HTML, pages.social_page(self.params), fault)

    def pay_page(self, fault):
        self.answer(200, HTML, pages.pay_page(self.params), fault)

    def service_page(self, fault):
        self.answer(200, HTML, pages.service_page(), fault)

    def site_page(self, fault):
        self.answer(200, HTML, pages.site_page(), fault)

    def index_page(self, fault):
        self.answer(200, HTML, pages.index_page(sorted(p for p in ROUTES if not p.startswith("/_"))), fault)

    def record(self, fault):
        self.answer(200, TEXT, "ok\n", fault)

    # Reports.
    def statistics(self, fault):
        self.answer(200, TEXT, "ok\n", fault)

    def pixel(self, fault):
        self.answer(200, "image/gif", PIXEL_GIF, fault)

    # Version file and upgrade program.
    def version_file(self, fault):
        self.answer(200, TEXT, self.server.state.version_file(), fault)

    def upgrade_program(self, fault):
        self.answer(200, "application/octet-stream", self.server.state.program, fault)

    # Control and misbehaviour.
    def control(self, fault):
        params = dict(self.params)
        if self.command == "POST":
            params.update(parse_params(self.body.decode("utf-8", errors="replace")))
        try:
            self.server.state.apply(params)
        except ControlError as error:
            self.answer(400, TEXT, str(error) + "\n")
            return
        self.answer(200, "application/json; charset=utf-8", self.server.state.describe() + "\n")

    def _size(self, default):
        try:
            return max(int(self.params.get("size", default)), 0)
        except ValueError:
            return default

    def pattern_bytes(self, fault):
        send(self, 200, "application/octet-stream", Body.pattern(self._size(0)), fault)

    def misbehave(self, fault):
        kind = self.path.split("?", 1)[0][len("/_misbehave/") :]
        if kind == "status":
            kind = self.params.get("code", "500")
        if not is_fault_kind(kind):
            self.answer(404, HTML, pages.not_found_page(self.path), fault)
            return
        try:
            sent = int(self.params["sent"]) if "sent" in self.params else None
            max_seconds = float(self.params.get("max", MAX_STALL_SECONDS))
        except ValueError:
            self.answer(400, TEXT, "sent and max must be numbers\n")
            return
        fault = fault or Fault(kind, sent, max_seconds)
        send(self, 200, "application/octet-stream", Body.pattern(self._size(1000)), fault)


ROUTES = {
    "/": Handler.index_page,
    "/controller/client.php": Handler.login_page,
    "/login": Handler.login,
    "/logout": Handler.logout,
    "/game/play.php": Handler.game_page,
    "/game/return.php": Handler.return_page,
    "/thirdlogin/start.php": Handler.social_page,
    "/record": Handler.record,
    "/controller/istat.controller.php": Handler.statistics,
    "/ps.gif": Handler.pixel,
    "/Vemo/velk/official/app.ini": Handler.version_file,
    "/Vemo/velk/official/Vemovelk.exe": Handler.upgrade_program,
    "/pay/select.php": Handler.pay_page,
    "/service/": Handler.service_page,
    "/service": Handler.service_page,
    "/velk/": Handler.site_page,
    "/velk": Handler.site_page,
    "/_control": Handler.control,
    "/_bytes": Handler.pattern_bytes,
}
