"""The platform simulator: its request log, version-file switches, signature and misbehaviours."""

import base64
import configparser
import json
import os
import socket
import time
import subprocess
import tempfile
import threading
import unittest
import urllib.parse

from simulator_process import PUBLIC_KEY_FILE, REPO, SIGN_TOOL, Simulator


def pattern(size):
    return bytes(i % 251 for i in range(size))


def ini(data):
    parser = configparser.ConfigParser(interpolation=None)
    parser.read_string(data.decode("utf-8"))
    return dict(parser["version"])


def need_sign_tool(test):
    if not os.access(SIGN_TOOL, os.X_OK):
        if os.environ.get("GLIDER_SIGN_TOOL"):
            test.fail("no signing tool at " + SIGN_TOOL)
        test.skipTest("glider-sign is not built")


def verify(public_key, data, signature):
    with tempfile.NamedTemporaryFile() as f:
        f.write(data)
        f.flush()
        command = [SIGN_TOOL, "--verify", public_key, f.name, signature]
        return subprocess.run(command, capture_output=True).returncode


class SimulatorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sim = Simulator()

    @classmethod
    def tearDownClass(cls):
        cls.sim.stop()

    def setUp(self):
        self.assertEqual(self.sim.control("reset=1")[0], 200)

    def last_entry(self, path):
        return [e for e in self.sim.log() if e["path"] == path][-1]

    def test_every_request_is_one_json_line(self):
        query = "item=5207kqm3x1&game_id=518&ext_2=a%20b&ext_3=x+y&ext_2=again&empty="
        self.sim.request("/controller/istat.controller.php?" + query)
        self.sim.request("/no/such/page?q=1", method="POST", body="k=值".encode())
        stat = self.last_entry("/controller/istat.controller.php")
        self.assertEqual(stat["method"], "GET")
        self.assertEqual(stat["request_line"], "GET /controller/istat.controller.php?%s HTTP/1.1" % query)
        self.assertEqual(stat["query"], query)
        expected = {"item": "5207kqm3x1", "game_id": "518", "ext_2": "a b", "ext_3": "x y", "empty": ""}
        self.assertEqual(stat["params"], expected)
        self.assertIsInstance(stat["time"], float)
        self.assertEqual(stat["host"], "127.0.0.1:%d" % self.sim.port)
        missing = self.last_entry("/no/such/page")
        self.assertEqual((missing["method"], missing["query"], missing["body"]), ("POST", "q=1", "k=值"))
        with socket.create_connection(("127.0.0.1", self.sim.port)) as sock:
            sock.sendall(b"GARBAGE\r\n\r\n")
            self.assertIn(b" 400 ", sock.recv(4096))
        # The line is logged once the server has answered; wait for it with a deadline.
        deadline = time.monotonic() + 5
        garbage = []
        while not garbage and time.monotonic() < deadline:
            garbage = [e["method"] for e in self.sim.log() if e["request_line"] == "GARBAGE"]
            time.sleep(0.01)
        self.assertEqual(garbage, [""])

    def test_lines_stay_whole_under_concurrent_requests(self):
        before = len(self.sim.log())

        def client(n):
            for i in range(20):
                self.sim.request("/record?fn=f&n=1&a=%s" % ("x" * (n * 500 + i)))

        threads = [threading.Thread(target=client, args=(n,)) for n in range(6)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        entries = self.sim.log()[before:]
        self.assertEqual(len([e for e in entries if e["path"] == "/record"]), 120)

    def test_endpoints_answer_with_a_length(self):
        cases = [
            ("/controller/istat.controller.php?item=1", "text/plain"),
            ("/ps.gif?id=38&la=x", "image/gif"),
            ("/record?fn=x", "text/plain"),
            ("/controller/client.php?game_id=518&tpl_type=game", "text/html; charset=utf-8"),
            ("/game/play.php?wd_entergame=1&wd_server=S1&wd_username=a", "text/html; charset=utf-8"),
            ("/thirdlogin/start.php?wd_thirdlogin=1&otype=qq&server_id=S1", "text/html; charset=utf-8"),
            ("/game/return.php?wd_returnlogin=1", "text/html; charset=utf-8"),
            ("/pay/select.php?gamename=velk&gameserver=S1&username=a", "text/html; charset=utf-8"),
            ("/service/", "text/html; charset=utf-8"),
            ("/velk/", "text/html; charset=utf-8"),
        ]
        for target, content_type in cases:
            with self.subTest(target=target):
                status, headers, body = self.sim.request(target)
                self.assertEqual(status, 200)
                self.assertTrue(body)
                self.assertEqual(int(headers["content-length"]), len(body))
                self.assertTrue(headers["content-type"].startswith(content_type))
        self.assertEqual(self.sim.request("/nowhere")[0], 404)

    def test_version_file_switches(self):
        cases = [
            ("", {"currentversion": "3.0.0.0", "upgraderange": ""}),
            ("currentversion=3.0.0.1&upgraderange=2000-3000,3005",
             {"currentversion": "3.0.0.1", "upgraderange": "2000-3000,3005"}),
            ("currentversion=3.0.0.2&omit=upgraderange", {"currentversion": "3.0.0.2"}),
            ("omit=currentversion,upgraderange", {}),
        ]
        for query, expected in cases:
            with self.subTest(query=query):
                self.sim.control("reset=1&signature=none&" + query)
                status, _, data = self.sim.request("/Vemo/velk/official/app.ini")
                self.assertEqual(status, 200)
                self.assertIn(b"\r\n", data)
                self.assertEqual(ini(data), expected)

    def test_control_by_post_and_refusals(self):
        status, _ = self.sim.control("reset=1")
        status, _, _ = self.sim.request("/_control", "POST", b"currentversion=3.1.0.0",
                                        {"Content-Type": "application/x-www-form-urlencoded"})
        self.assertEqual(status, 200)
        self.assertEqual(ini(self.sim.request("/Vemo/velk/official/app.ini")[2])["currentversion"], "3.1.0.0")
        for query in ("signature=maybe", "omit=colour", "fault=/ps.gif&kind=broken", "fault=ps.gif&kind=404",
                      "fault=/ps.gif&kind=404&times=0"):
            with self.subTest(query=query):
                self.assertEqual(self.sim.control(query)[0], 400)

    def test_signature_modes(self):
        need_sign_tool(self)
        with open(PUBLIC_KEY_FILE) as f:
            public_key = f.read().strip()
        program = self.sim.request("/Vemo/velk/official/Vemovelk.exe")[2]
        for mode, verifies in (("good", 0), ("bad", 1)):
            with self.subTest(mode=mode):
                self.sim.control("signature=" + mode)
                signature = ini(self.sim.request("/Vemo/velk/official/app.ini")[2])["signature"]
                self.assertEqual(len(base64.b64decode(signature)), 64)
                self.assertEqual(verify(public_key, program, signature), verifies)
        self.sim.control("signature=none")
        self.assertNotIn("signature", ini(self.sim.request("/Vemo/velk/official/app.ini")[2]))

    def test_public_key_is_the_built_in_default(self):
        need_sign_tool(self)
        seed = os.path.join(REPO, "tools", "simulator", "test-key", "seed.b64")
        printed = subprocess.run([SIGN_TOOL, "--public", seed], capture_output=True, text=True).stdout.strip()
        with open(PUBLIC_KEY_FILE) as f:
            self.assertEqual(f.read().strip(), printed)
        with open(os.path.join(REPO, "cmake", "Endpoints.cmake")) as f:
            self.assertIn('GLIDER_UPGRADE_PUBLIC_KEY "%s"' % printed, f.read())

    def test_upgrade_program_records_its_command_line(self):
        program = self.sim.request("/Vemo/velk/official/Vemovelk.exe")[2]
        self.assertTrue(program.startswith(b"#!/bin/sh\n"))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "VemoGliderUpgrade.exe")
            record = os.path.join(folder, "runs.jsonl")
            with open(path, "wb") as f:
                f.write(program)
            os.chmod(path, 0o755)
            env = dict(os.environ, GLIDER_UPGRADE_RECORD=record)
            for args in (["/S", "/KXUPGRADE"], ['a "quoted" \\ arg']):
                self.assertEqual(subprocess.run([path] + args, env=env).returncode, 0)
            with open(record) as f:
                runs = [json.loads(line) for line in f]
        self.assertEqual([r["args"] for r in runs], [["/S", "/KXUPGRADE"], ['a "quoted" \\ arg']])
        self.assertEqual(runs[0]["uid"], os.getuid())
        self.assertEqual(runs[0]["program"], path)

    def test_misbehaviours(self):
        head, body = self.sim.raw("/_misbehave/nolength?size=3000")
        self.assertNotIn("Content-Length", head)
        self.assertEqual(body, pattern(3000))
        head, body = self.sim.raw("/_misbehave/truncated?size=3000&sent=1000")
        self.assertIn("Content-Length: 3000", head)
        self.assertEqual(body, pattern(1000))
        head, body = self.sim.raw("/_misbehave/stall?size=3000&sent=10&max=0.2")
        self.assertIn("Content-Length: 3000", head)
        self.assertEqual(body, pattern(10))
        self.assertEqual(self.sim.raw("/_misbehave/drop"), ("", b""))
        for target, status in (("/_misbehave/404", 404), ("/_misbehave/status?code=503", 503)):
            with self.subTest(target=target):
                self.assertEqual(self.sim.request(target)[0], status)

    def test_fault_switch_breaks_a_path_for_some_requests(self):
        self.sim.control("fault=/controller/istat.controller.php&kind=nolength&times=2")
        self.sim.control("fault=/Vemo/velk/official/app.ini&kind=404")
        heads = [self.sim.raw("/controller/istat.controller.php?x=%d" % i)[0] for i in range(3)]
        self.assertEqual(["Content-Length" in h for h in heads], [False, False, True])
        self.assertEqual(self.sim.request("/Vemo/velk/official/app.ini")[0], 404)
        self.sim.control("fault=/Vemo/velk/official/app.ini&kind=ok")
        self.assertEqual(self.sim.request("/Vemo/velk/official/app.ini")[0], 200)

    def test_large_bodies_stream_a_pattern(self):
        for size in (0, 1, 25000, 3 * 1024 * 1024 + 7):
            with self.subTest(size=size):
                status, headers, body = self.sim.request("/_bytes?size=%d" % size)
                self.assertEqual((status, int(headers["content-length"])), (200, size))
                self.assertEqual(body, pattern(size))

    def test_login_sets_a_lasting_cookie_and_enters_the_game(self):
        form = "account=%s&server=S2" % urllib.parse.quote("玩家 1")
        status, headers, _ = self.sim.request("/login", "POST", form.encode(),
                                              {"Content-Type": "application/x-www-form-urlencoded"})
        self.assertEqual(status, 303)
        entry = r"^/game/play\.php\?wd_entergame=1&wd_server=S2&wd_username=[^&]+$"
        self.assertRegex(headers["location"], entry)
        self.assertEqual(urllib.parse.unquote(headers["location"].rsplit("=", 1)[1]), "玩家 1")
        self.assertRegex(headers["set-cookie"], r"^velk_session=[^;]+; Max-Age=\d+; Path=/$")
        cookie = headers["set-cookie"].split(";")[0]
        page = self.sim.request("/controller/client.php?game_id=518", headers={"Cookie": cookie})[2].decode()
        self.assertIn("欢迎回来，玩家 1", page)
        self.assertIn('<option value="S2" selected>', page)
        self.assertEqual(self.last_entry("/controller/client.php")["headers"]["Cookie"], cookie)

    def test_pages_keep_the_page_contract(self):
        login = self.sim.request("/controller/client.php?game_id=518&tpl_type=game")[2].decode()
        contract = ("function WebSuperCall(code, text)", 'window.open(socialUrl(otype), "_blank")',
                    'target="_blank"', "wd_thirdlogin=1&otype=", "&server_id=", 'gliderRecord("WebSuperCall"')
        for text in contract:
            self.assertIn(text, login)
        username_last = r'"/game/play\.php\?wd_entergame=1&wd_server=" \+ [^;]*"&wd_username=" \+ [^;&]*;'
        self.assertRegex(login, username_last)
        game = self.sim.request("/game/play.php?wd_entergame=1&wd_server=S1&wd_username=a")[2].decode()
        contract = ("<title>荆棘岭·游戏中 S1</title>", "function jjssyyllDown(x, y)", "function jjssyyllUp(x, y)",
                    'window["7A0E52B9C61F03E8A4D7B250C9E1"] = function',
                    'href="/game/return.php?wd_returnlogin=1"')
        for text in contract:
            self.assertIn(text, game)
        social = self.sim.request("/thirdlogin/start.php?wd_thirdlogin=1&otype=qq&server_id=S1")[2].decode()
        for text in ("window.external.DoSuperCall(101, text)", "thirdlogin:", "loginaccount:", "gameurl:"):
            self.assertIn(text, social)
        hostile = self.sim.request("/thirdlogin/start.php?otype=%3C/script%3E%22&server_id=S1")[2].decode()
        self.assertNotIn('</script>"', hostile)


class StartOptionsTest(unittest.TestCase):
    def test_without_signing_tool_no_signature_is_served(self):
        sim = Simulator("--sign-tool", "/nonexistent/glider-sign", "--currentversion", "3.0.0.1",
                        "--fault", "/ps.gif=truncated")
        try:
            self.assertEqual(ini(sim.request("/Vemo/velk/official/app.ini")[2]),
                             {"currentversion": "3.0.0.1", "upgraderange": ""})
            head, body = sim.raw("/ps.gif?id=38")
            self.assertIn("Content-Length: 43", head)
            self.assertLess(len(body), 43)
        finally:
            stderr = sim.stop()
        self.assertIn("no signing tool", stderr)

    def test_stops_on_sigterm_while_a_client_stalls(self):
        sim = Simulator()
        sock = socket.create_connection(("127.0.0.1", sim.port))
        try:
            sock.sendall(b"GET /_misbehave/stall HTTP/1.1\r\nHost: x\r\n\r\n")
            self.assertTrue(sock.recv(4096).startswith(b"HTTP/1.1 200"))
            sim.stop()
            self.assertEqual(sim.proc.returncode, 0)
        finally:
            sock.close()


if __name__ == "__main__":
    unittest.main()
