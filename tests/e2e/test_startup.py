"""Start-up of the real program: its two windows wait out of sight until the login page
has loaded, and the show-desktop switch ends by itself."""

import os
import subprocess
import sys
import unittest

from desktop import DesktopTestCase, client_windows, screen_is_blank, screenshot, wait_for, window_info

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "simulator"))
from simulator_process import Simulator  # noqa: E402


class StartupWithWindowManager(DesktopTestCase):
    with_window_manager = True

    def test_startup_windows_wait_off_screen(self):
        # The login page never arrives: the windows must stay out of sight meanwhile.
        sim = Simulator("--port", "8730")
        self.addCleanup(sim.stop)
        status, _ = sim.control("fault=/controller/client.php&kind=stall")
        self.assertEqual(status, 200)
        client = self.start_client()
        windows = wait_for(lambda: len(client_windows()) >= 2 and client_windows())
        self.assertTrue(windows, "the client's two start-up windows did not appear")
        self.assertIsNone(client.poll())
        # The X windows may be configured a moment after they are created.
        parked = wait_for(lambda: all((window_info(w)["x"], window_info(w)["y"]) == (-2000, -2000) for w in windows))
        for wid in windows:
            info = window_info(wid)
            self.assertNotEqual(info["map_state"], "IsViewable")
            self.assertEqual((info["x"], info["y"]), (-2000, -2000))
        self.assertTrue(parked)
        self.assertEqual(client_windows(visible=True), [])
        shot = screenshot("startup-%s" % ("wm" if self.with_window_manager else "bare"))
        self.assertTrue(screen_is_blank(shot), "something of the client is on screen: " + shot)

    def test_show_desktop_ends_by_itself_without_showing_a_window(self):
        client = self.start_client("/ShowDeskTop")
        seen_visible = []

        def ended():
            seen_visible.extend(client_windows(visible=True))
            return client.poll() is not None

        wait_for(ended, timeout=2.0, interval=0.02)
        try:
            code = client.wait(timeout=0.1)
        except subprocess.TimeoutExpired:
            self.fail("glider /ShowDeskTop did not end within 2 seconds")
        self.assertEqual(code, 0, client.stderr.read())
        self.assertEqual(seen_visible, [])


class StartupWithoutWindowManager(StartupWithWindowManager):
    with_window_manager = False


if __name__ == "__main__":
    unittest.main()
