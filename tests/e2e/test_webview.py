"""The browser view on WebKitGTK against the platform simulator, through webview-probe:
one window hosting a view, its web notifications printed as lines."""

import json
import os
import queue
import subprocess
import sys
import threading
import time
import unittest

from desktop import BUILD, ROOT, DesktopTestCase, free_port, run, screenshot, wait_for

PROBE = os.path.join(BUILD, "tools", "webview-probe")
SIMULATOR = os.path.join(ROOT, "tools", "simulator", "simulator.py")


class Probe:
    def __init__(self, case, *args):
        self.proc = subprocess.Popen([PROBE] + list(args), env=case.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, bufsize=1)
        case.procs.append(self.proc)
        case.addCleanup(self._close)
        self.lines = queue.Queue()
        self.seen = []
        threading.Thread(target=self._read, daemon=True).start()

    def _close(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait(5)
        for stream in (self.proc.stdin, self.proc.stdout):
            try:
                stream.close()
            except (BrokenPipeError, ValueError):
                pass

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\n"))

    def expect(self, prefix, contains="", timeout=20.0):
        """The next line starting with prefix (and holding contains); None at the deadline."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                line = self.lines.get(timeout=max(0.01, deadline - time.monotonic()))
            except queue.Empty:
                break
            self.seen.append(line)
            if line.startswith(prefix) and contains in line:
                return line
        return None

    def send(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()

    def window(self):
        out = wait_for(lambda: run(["xdotool", "search", "--onlyvisible", "--name", "^webview-probe$"]).stdout.split())
        return out[0] if out else None

    def click(self, x, y):
        wid = self.window()
        run(["xdotool", "mousemove", "--window", wid, str(x), str(y), "click", "1"])

    def quit(self):
        self.send("quit")
        self.proc.wait(10)


@unittest.skipUnless(os.path.exists(PROBE), "webview-probe is not built")
class WebViewOnTheSimulator(DesktopTestCase):
    # One undecorated window at (0, 0); keys follow the pointer without a window manager.
    with_window_manager = False

    def setUp(self):
        super().setUp()
        self.log = os.path.join(self.home, "requests.jsonl")
        sim = subprocess.Popen([sys.executable, SIMULATOR, "--port", "0", "--log", self.log,
                                "--sign-tool", os.path.join(BUILD, "tools", "glider-sign")],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=self.env)
        self.procs.append(sim)
        self.addCleanup(sim.stdout.close)
        self.port = int(sim.stdout.readline().split()[-1])
        self.base = "http://127.0.0.1:%d" % self.port

    def requests(self, path=None):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            lines = [json.loads(line) for line in f if line.strip()]
        return [r for r in lines if path is None or r["path"] == path]

    def login_page(self, *args):
        probe = Probe(self, *args, self.base + "/controller/client.php?game_id=518")
        self.assertIsNotNone(probe.expect("DOCUMENT_COMPLETE", "/controller/client.php"), probe.seen)
        return probe

    def test_logging_in_is_a_navigation_the_handler_cancels(self):
        probe = self.login_page("--cancel=wd_entergame=1")
        probe.click(130, 59)
        run(["xdotool", "type", "bob"])
        probe.click(52, 157)
        line = probe.expect("BEFORE_NAVIGATE_CANCELLED", "wd_entergame=1")
        self.assertIsNotNone(line, probe.seen)
        self.assertIn("wd_server=S1&wd_username=bob", line)
        self.assertIsNone(probe.expect("NAVIGATE_COMPLETE", timeout=1.0), "the login page stays")
        screenshot("webview-login-stays")

    def test_social_login_buttons_give_blocked_navigations_and_no_window(self):
        probe = self.login_page()
        for x, otype in ((166, "qq"), (254, "weibo")):
            probe.click(x, 209)
            line = probe.expect("NAVIGATE_BLOCKED", "otype=" + otype)
            self.assertIsNotNone(line, probe.seen)
            self.assertIn("wd_thirdlogin", line)
        windows = run(["xdotool", "search", "--onlyvisible", "--name", "."]).stdout.split()
        self.assertEqual(len([w for w in windows if "probe" in run(["xdotool", "getwindowname", w]).stdout]), 1)

    def test_the_social_login_page_calls_the_bridge(self):
        probe = Probe(self, "--external", self.base + "/thirdlogin/start.php?wd_thirdlogin=1&otype=qq&server_id=7")
        self.assertIsNotNone(probe.expect("DOCUMENT_COMPLETE"), probe.seen)
        probe.click(50, 93)
        line = probe.expect("SUPERCALL 101 ")
        self.assertIsNotNone(line, probe.seen)
        text = json.loads(line[len("SUPERCALL 101 "):])
        self.assertEqual(text["thirdlogin"], "tl-qq-7")
        self.assertEqual(text["loginaccount"], "qq_user01")

    def test_web_super_call_from_the_client_is_recorded(self):
        probe = self.login_page("--cancel=wd_entergame=1")
        text = '{"loginaccount":"acc","thirdlogin":"tl"}'
        probe.send("websupercall " + text)
        self.assertEqual(probe.expect("WEBSUPERCALL"), "WEBSUPERCALL 1")
        self.assertTrue(wait_for(lambda: any(r["params"].get("fn") == "WebSuperCall" for r in self.requests("/record"))))
        record = [r for r in self.requests("/record") if r["params"].get("fn") == "WebSuperCall"][0]
        self.assertEqual(record["params"]["a"], "201")
        self.assertEqual(record["params"]["b"], text)

    def test_page_functions_of_the_game_receive_their_arguments(self):
        probe = Probe(self, self.base + "/game/play.php?wd_server=S1")
        self.assertIsNotNone(probe.expect("DOCUMENT_COMPLETE"), probe.seen)
        probe.send("call jjssyyllDown 30 40")
        self.assertEqual(probe.expect("CALL"), "CALL jjssyyllDown 1")
        probe.send("call missingFunction 1 2")
        self.assertEqual(probe.expect("CALL"), "CALL missingFunction 0")
        self.assertTrue(wait_for(lambda: self.requests("/record")))
        params = self.requests("/record")[0]["params"]
        self.assertEqual((params["fn"], params["a"], params["b"]), ("jjssyyllDown", "30", "40"))

    def test_unreachable_addresses_and_404_are_navigation_errors(self):
        probe = self.login_page()
        for url in (self.base + "/no/such/page", "http://127.0.0.1:%d/" % free_port()):
            probe.send("navigate " + url)
            self.assertIsNotNone(probe.expect("NAVIGATE_ERROR", url), (url, probe.seen))

    def test_cookies_of_the_login_survive_a_restart(self):
        probe = self.login_page("--cancel=wd_entergame=1")
        probe.click(130, 59)
        run(["xdotool", "type", "bob"])
        probe.click(52, 157)
        self.assertIsNotNone(probe.expect("BEFORE_NAVIGATE_CANCELLED"), probe.seen)
        self.assertTrue(wait_for(lambda: self.requests("/login")))
        probe.quit()
        again = self.login_page()
        loads = self.requests("/controller/client.php")
        cookie = {k.lower(): v for k, v in loads[-1]["headers"].items()}.get("cookie", "")
        self.assertIn("velk_session", cookie)
        again.quit()


if __name__ == "__main__":
    unittest.main()
