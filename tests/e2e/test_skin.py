"""The skin on a real desktop: once the login page has brought the start-up windows into
view, the shadow and the login frame with its buttons are drawn, a button changes its
picture under the pointer, and dragging the shadow moves both windows."""

import os
import sys
import unittest

from desktop import DesktopTestCase, client_windows, run, screen_is_blank, screenshot, wait_for, window_info

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "simulator"))
from simulator_process import Simulator  # noqa: E402

SIMULATOR_PORT = "8730"
CLOSE_BUTTON = (975, 213, 32, 32)  # in the login window
SHADOW_PIXEL = (20, 342)  # opaque shadow under the login window's key colour


def crop(path, x, y, w, h):
    out = path[:-4] + "-%d-%d.png" % (x, y)
    run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", out])
    return out


def differing_pixels(a, b):
    # compare writes the count of differing pixels to stderr.
    result = run(["compare", "-metric", "AE", a, b, "null:"])
    return int(float(result.stderr.split()[0]))


class SkinOnTheDesktop(DesktopTestCase):
    def setUp(self):
        super().setUp()
        self.sim = Simulator("--port", SIMULATOR_PORT)
        self.addCleanup(self.sim.stop)

    def shown_windows(self):
        self.start_client()
        windows = wait_for(lambda: len(client_windows(visible=True)) >= 2 and client_windows(visible=True),
                           timeout=20)
        if not windows:
            self.fail("the start-up windows did not come into view")
        return [window_info(w) for w in windows]

    def test_shadow_frame_and_buttons_are_drawn_hover_changes_and_the_shadow_drags_both(self):
        infos = self.shown_windows()
        origin = (infos[0]["x"], infos[0]["y"])
        self.assertTrue(all((i["x"], i["y"]) == origin for i in infos), infos)
        # Mapped windows are painted a moment later.
        def painted():
            path = screenshot("login-skin")
            return None if screen_is_blank(path) else path

        shot = wait_for(painted, timeout=10, interval=0.2)
        self.assertTrue(shot, "nothing of the skin was drawn")

        x, y, w, h = CLOSE_BUTTON
        before = crop(shot, origin[0] + x, origin[1] + y, w, h)
        run(["xdotool", "mousemove", str(origin[0] + x + w // 2), str(origin[1] + y + h // 2)])
        hovered = wait_for(lambda: differing_pixels(
            before, crop(screenshot("login-skin-hover"), origin[0] + x, origin[1] + y, w, h)) > 0, timeout=5)
        self.assertTrue(hovered, "the close button kept its picture under the pointer")

        sx, sy = origin[0] + SHADOW_PIXEL[0], origin[1] + SHADOW_PIXEL[1]
        run(["xdotool", "mousemove", str(sx), str(sy), "mousedown", "1"])
        target = (origin[0] + 120, origin[1] + 80)

        def at_target():
            now = [window_info(wid) for wid in client_windows(visible=True)]
            return all((i["x"], i["y"]) == target for i in now) and now

        # The window manager takes over the drag a moment after the press: keep the
        # pointer moving between two points until both windows follow it.
        steps = iter(range(1000))

        def dragged():
            step = next(steps)
            run(["xdotool", "mousemove", str(sx + 120 - step % 2), str(sy + 80)])
            run(["xdotool", "mousemove", str(sx + 120), str(sy + 80)])
            return any((window_info(wid)["x"], window_info(wid)["y"]) != origin for wid in client_windows())

        moved = wait_for(dragged, timeout=10, interval=0.1)
        run(["xdotool", "mouseup", "1"])
        self.assertTrue(moved, "the windows did not follow the drag")
        self.assertTrue(wait_for(at_target, timeout=5), [window_info(w) for w in client_windows(visible=True)])
        screenshot("login-skin-dragged")


class SkinWithACompositor(SkinOnTheDesktop):
    with_compositor = True


if __name__ == "__main__":
    unittest.main()
