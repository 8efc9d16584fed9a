"""The installer's and uninstaller's launch modes: one report each, then the client ends."""

import configparser
import datetime
import os
import sys
import time
import unittest

from desktop import DesktopTestCase, client_windows, wait_for

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "simulator"))
from simulator_process import Simulator  # noqa: E402

# The default build's endpoints point here.
SIMULATOR_PORT = "8730"
STAT_PATH = "/controller/istat.controller.php"


class ReportModes(DesktopTestCase):
    def settings_path(self):
        return os.path.join(self.env["XDG_CONFIG_HOME"], "Vemo游戏", "velk", "Glider.ini")

    def write_settings(self, text):
        os.makedirs(os.path.dirname(self.settings_path()), exist_ok=True)
        with open(self.settings_path(), "w", encoding="utf-8") as f:
            f.write(text)

    def settings(self):
        parser = configparser.ConfigParser(strict=False, interpolation=None)
        parser.optionxform = str
        parser.read(self.settings_path(), encoding="utf-8")
        return parser

    def run_mode(self, switch, sim=None):
        """Runs the mode to its end; returns (exit code, windows seen visible, end time)."""
        client = self.start_client(switch)
        seen = []

        def ended():
            seen.extend(client_windows(visible=True))
            return client.poll() is not None

        self.assertTrue(wait_for(ended, timeout=30, interval=0.05), "%s did not end by itself" % switch)
        return client.returncode, seen, time.time()

    def stat_requests(self, sim):
        return [e for e in sim.log() if e["path"] == STAT_PATH]

    def one_report(self, switch):
        """Runs the mode against the simulator; checks it ended well, showed nothing and sent
        exactly one statistics request. Returns that request and the end time."""
        sim = Simulator("--port", SIMULATOR_PORT)
        try:
            code, seen, ended = self.run_mode(switch)
            stats = self.stat_requests(sim)
        finally:
            sim.stop()
        self.assertEqual(code, 0)
        self.assertEqual(seen, [])
        self.assertEqual(len(stats), 1, stats)
        return stats[0], ended

    def check_common(self, params, ext1):
        guid = self.settings()["Install"]["GUID"]
        self.assertRegex(guid, r"^[0-9A-F]{32}$")
        self.assertEqual(params["game_id"], "518")
        self.assertEqual(params["ext_1"], ext1)
        self.assertEqual(params["ext_2"], "ostracom")
        self.assertEqual(params["ext_3"], "velk")
        self.assertEqual(params["ext_4"], guid)
        self.assertRegex(params["ext_5"], r"^[0-9a-f]{32}$")
        self.assertIn(params["ext_6"], ("1", "2"))
        self.assertEqual(params["browser_type"], "3000")

    def test_installation_report(self):
        for install_type, ext1 in (("0", "2"), ("1", "3")):
            with self.subTest(install_type=install_type):
                self.write_settings("[Install]\nInstallType=%s\n" % install_type)
                request, ended = self.one_report("/setupsucc")
                self.check_common(request["params"], ext1)
                self.assertNotIn("position", request["params"])
                self.assertLess(ended - request["time"], 1.0 + 0.5)  # ends within a second of the answer
                with open(os.path.join(self.env["TMPDIR"], "InstallStat.tmp"), "rb") as f:
                    self.assertTrue(f.read())
                self.assertNotIn("RunCount", self.settings()["Common"] if self.settings().has_section("Common") else {})

    def test_removal_report(self):
        today = datetime.date.today()
        earlier = today - datetime.timedelta(days=3)
        for day, position in ((today, "1"), (earlier, "2")):
            with self.subTest(position=position):
                self.write_settings("[Install]\nInstallTime=%s 10:20:30\n" % day.strftime("%Y-%m-%d"))
                request, _ = self.one_report("/uninstallsucc")
                params = request["params"]
                self.check_common(params, "6")
                self.assertEqual(params["position"], position)
                self.assertEqual(params["ext_7"], day.strftime("%Y%m%d"))
                self.assertTrue(os.path.exists(os.path.join(self.env["TMPDIR"], "UninstallStat.tmp")))

    def test_both_modes_end_without_the_platform(self):
        for switch in ("/setupsucc", "/uninstallsucc"):
            with self.subTest(switch=switch):
                code, seen, _ = self.run_mode(switch)
                self.assertEqual(code, 0)
                self.assertEqual(seen, [])


if __name__ == "__main__":
    unittest.main()
