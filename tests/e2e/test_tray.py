"""Hiding into the notification area and coming back; what goes on while hidden."""

import harness as h

TRAY_BUTTON = "Anwendung in Tray minimieren"


class Tray(h.E2ETestCase):
    def prepare_session(self):
        if self._testMethodName.endswith("_without_a_tray"):
            self.session.stop_tray()
        elif self.session.tray is None:
            self.session.start_tray()

    def visible(self):
        return bool(self.app.windows("Velmora"))

    def icon(self):
        icons = self.session.tray_icons(self.app.pid)
        return next(iter(icons.values())) if len(icons) == 1 else None

    def hide(self):
        app = self.app
        self.frame_before = self.session.frame_geometry(app.wid)
        app.click(TRAY_BUTTON)
        h.wait_until(lambda: not self.visible(), "the main window to be hidden")
        return h.wait_until(self.icon, "one icon of the program in the tray",
                            seen=lambda: self.session.tray_icons(self.app.pid))

    def click_icon(self, button):
        x, y, w, hh = h.wait_until(self.icon, "the program's icon in the tray")
        self.session.click_at(x + w // 2, y + hh // 2, button)

    def assert_restored(self, how):
        h.wait_until(self.visible, "the main window to come back after %s" % how)
        h.wait_until(lambda: not self.session.tray_icons(self.app.pid),
                     "the icon to leave the tray after %s" % how,
                     seen=lambda: self.session.tray_icons(self.app.pid))
        h.wait_until(lambda: self.session.frame_geometry(self.app.wid) == self.frame_before,
                     "the window back at %s" % self.frame_before,
                     seen=lambda: self.session.frame_geometry(self.app.wid))

    def test_left_and_right_click_restore_middle_does_not(self):
        # Away from the corner where a window manager would put a window of its own accord.
        session = self.session
        session.run(["xdotool", "windowmove", str(self.app.wid), "200", "150"])
        h.wait_until(lambda: session.frame_geometry(self.app.wid)["x"] > 100,
                     "the window to move to (200, 150)",
                     seen=lambda: session.frame_geometry(self.app.wid))
        self.hide()
        self.click_icon(1)
        self.assert_restored("a left click on the icon")
        self.hide()
        self.click_icon(3)
        self.assert_restored("a right click on the icon")
        self.hide()
        self.click_icon(2)
        h.hold_still(lambda: not self.visible() and self.icon(),
                     "the window to stay hidden, with its icon, after a middle click", 1.5)
        self.click_icon(1)
        self.assert_restored("a left click after the middle click")

    def test_metering_and_function_keys_go_on_while_hidden(self):
        app = self.app
        app.run_station(1)
        self.hide()
        before = h.seconds_of(app.time_text(1))
        self.session.key("F5")
        app.wait_second_steps(3)
        self.click_icon(1)
        self.assert_restored("a left click on the icon")
        after = h.seconds_of(app.time_text(1))
        self.assertGreaterEqual(after - before, 2,
                                "station 1 should count on while hidden (%s s, then %s s)" %
                                (before, after))
        self.assertEqual(app.marked(), [5], "F5 while hidden should select station 5")

    def test_icon_comes_back_after_the_tray_restarts(self):
        self.hide()
        session = self.session
        session.stop_tray()
        session.start_tray()
        h.wait_until(self.icon, "the icon to come back into the restarted tray",
                     seen=lambda: (self.visible(), self.session.tray_icons(self.app.pid)))
        self.assertFalse(self.visible(), "the window should still be hidden")
        self.click_icon(1)
        self.assert_restored("a left click on the icon in the restarted tray")

    def test_tray_button_leaves_the_window_shown_without_a_tray(self):
        app = self.app
        app.click(TRAY_BUTTON)
        h.hold_still(self.visible, "the main window to stay shown without a tray", 1.5)
        shown = self.session.xdotool_search(["--pid", str(app.pid), "--onlyvisible", "--class",
                                             "."])
        self.assertEqual(shown, [app.wid], "the program should show its main window only")


if __name__ == "__main__":
    h.main()
