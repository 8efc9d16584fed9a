"""The desktop the end-to-end tests run on: Xvfb (through xvfb-run), openbox, and helpers
to find and inspect the client's X windows with xdotool and xwininfo."""

import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("GLIDER_BUILD", os.path.join(ROOT, "build"))
ARTIFACTS = os.environ.get("GLIDER_ARTIFACTS", os.path.join(BUILD, "test-artifacts"))


def wait_for(cond, timeout=10.0, interval=0.05):
    """Polls cond until it returns a true value or the deadline passes; returns the value."""
    deadline = time.monotonic() + timeout
    while True:
        value = cond()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=20, **kw)


def client_windows(name="Thornmere", visible=False):
    args = ["xdotool", "search"]
    if visible:
        args.append("--onlyvisible")
    args += ["--name", "^%s$" % name]
    out = run(args).stdout.split()
    return [int(w) for w in out]


def window_info(wid):
    """Absolute position, size and map state from xwininfo."""
    out = run(["xwininfo", "-id", str(wid)]).stdout
    def field(label):
        m = re.search(r"%s:\s+(-?\d+)" % re.escape(label), out)
        return int(m.group(1)) if m else None
    state = re.search(r"Map State:\s+(\w+)", out)
    return {
        "x": field("Absolute upper-left X"),
        "y": field("Absolute upper-left Y"),
        "width": field("Width"),
        "height": field("Height"),
        "map_state": state.group(1) if state else None,
    }


def screenshot(name):
    os.makedirs(ARTIFACTS, exist_ok=True)
    path = os.path.join(ARTIFACTS, name + ".png")
    run(["import", "-window", "root", path])
    return path


def screen_is_blank(path):
    """True when every pixel of the screenshot has the same colour."""
    out = run(["convert", path, "-format", "%k", "info:"]).stdout.strip()
    return out == "1"


def start_window_manager():
    """openbox on the display; a start can fail while the previous one lets go of it."""
    with tempfile.TemporaryFile("w+") as log:
        for _ in range(3):
            wm = subprocess.Popen(["openbox", "--replace", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=log)
            if wait_for(lambda: wm.poll() is None and window_manager_check() is not None, timeout=10):
                return wm
            wm.kill()
            wm.wait()
        log.seek(0)
        raise RuntimeError("openbox did not take the display: " + log.read())


def window_manager_check():
    """The window the running window manager names on the root window, or None."""
    out = run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]).stdout
    m = re.search(r"window id # (0x[0-9a-f]+)", out)
    if not m:
        return None
    # The property outlives a window manager that was stopped: the window must exist.
    return m.group(1) if run(["xwininfo", "-id", m.group(1)]).returncode == 0 else None


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class DesktopTestCase(unittest.TestCase):
    """Starts a window manager on the Xvfb display and gives each test a fresh home."""

    window_manager = None
    compositor = None
    with_window_manager = True
    with_compositor = False

    @classmethod
    def setUpClass(cls):
        if not os.environ.get("DISPLAY"):
            raise unittest.SkipTest("needs an X display (run under xvfb-run)")
        if not cls.with_window_manager:
            return
        cls.window_manager = start_window_manager()
        if cls.with_compositor:
            # Translucent windows need a compositing manager; the client works either way.
            cls.compositor = subprocess.Popen(["xcompmgr"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        if cls.compositor:
            cls.compositor.terminate()
            cls.compositor.wait(5)
            cls.compositor = None
        if cls.window_manager:
            cls.window_manager.terminate()
            cls.window_manager.wait(5)

    def setUp(self):
        self.home = tempfile.mkdtemp(prefix="glider-e2e-")
        self.env = dict(os.environ)
        self.env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "TMPDIR": os.path.join(self.home, "tmp"),
            "NO_AT_BRIDGE": "1",
        })
        os.makedirs(self.env["TMPDIR"])
        self.procs = []

    def tearDown(self):
        for p in self.procs:
            if p.poll() is None:
                p.kill()
                p.wait(5)
        shutil.rmtree(self.home, ignore_errors=True)

    def start_client(self, *args):
        p = subprocess.Popen([os.path.join(BUILD, "glider")] + list(args), env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.procs.append(p)
        return p
