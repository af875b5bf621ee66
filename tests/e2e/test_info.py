"""The info box, from the Info button and from the system menu; the meters go on behind it."""

import harness as h

INFO_TITLE = "Info \u00fcber Velmora"
MENU_ENTRY = "Info \u00fcber Orbanet..."


class InfoBox(h.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.session.listen()
        # Where the box fits on the screen when centred over the main window.
        session, app = self.session, self.app
        session.run(["xdotool", "windowmove", str(app.wid), "300", "250"])
        h.wait_until(lambda: session.frame_geometry(app.wid)["x"] > 200,
                     "the main window to move to (300, 250)",
                     seen=lambda: session.frame_geometry(app.wid))
        # A running meter behind the box.
        self.app.run_station(1)

    def info_window(self):
        wids = self.app.windows(INFO_TITLE)
        return wids[0] if wids and self.app.top_level(INFO_TITLE) is not None else None

    def wait_open(self, how):
        wid = h.wait_until(self.info_window, 'the window "%s" after %s' % (INFO_TITLE, how))
        main = self.session.frame_geometry(self.app.wid)

        def centred():
            box = self.session.frame_geometry(wid)
            # Within the window manager's frame of centre.
            want_x = main["x"] + (main["w"] - box["w"]) // 2
            want_y = main["y"] + (main["h"] - box["h"]) // 2
            return abs(box["x"] - want_x) <= 25 and abs(box["y"] - want_y) <= 25
        h.wait_until(centred, "the info box centred over the main window %s" % main,
                     seen=lambda: self.session.frame_geometry(wid))
        box = self.app.top_level(INFO_TITLE)
        names = [a.name for a, _ in h.walk(box)]
        for text in ("Velmora Version 1.0", "OK"):
            self.assertIn(text, names, "the info box's controls")
        ok = [a for a, _ in h.walk(box) if a.name == "OK"][0]
        h.wait_until(lambda: h.Control(ok).focused, 'the focus on the info box\'s "OK"')
        return wid, h.Control(ok)

    def assert_meters_go_on_behind_the_box(self):
        app = self.app
        counted = h.seconds_of(app.time_text(1))
        app.click(h.selector(3))
        app.wait_second_steps(2)
        self.assertEqual(app.marked(), [1], "a click behind the box should select nothing")
        self.assertGreater(h.seconds_of(app.time_text(1)), counted,
                           "station 1 should count on while the box is open")

    def wait_closed(self, how):
        h.wait_until(lambda: self.info_window() is None, "%s to close the info box" % how)
        app = self.app
        app.ensure_alive()
        self.assertTrue(app.windows("Velmora"), "the main window should stay")
        self.assertEqual(app.marked(), [1])
        counted = h.seconds_of(app.time_text(1))
        app.wait_second_steps(1)
        self.assertGreater(h.seconds_of(app.time_text(1)), counted,
                           "station 1 should still count after the box closed")
        self.assertEqual([app.rate_text(n) for n in range(1, 11)], ["1,00"] * 10)

    def open_system_menu(self):
        """Opens the window's own menu with a right click on its background and returns
        the accessible of its last entry, highlighted with the Up key."""
        client = self.session.window_geometry(self.app.wid)
        before = set(self.session.xdotool_search(["--pid", str(self.app.pid), "--onlyvisible",
                                                  "--class", "."]))
        self.session.click_at(client["x"] + 5, client["y"] + 5, 3)
        h.wait_until(lambda: set(self.session.xdotool_search(
            ["--pid", str(self.app.pid), "--onlyvisible", "--class", "."])) - before,
            "the system menu to open")
        mark = self.session.event_mark()
        self.session.key("Up", hold=0.05)

        def entry():
            for acc in self.session.focused_since(mark):
                if acc.getRoleName() == "menu item":
                    return acc
            return None
        item = h.wait_until(entry, "a highlighted entry of the system menu",
                            seen=lambda: [a.name for a in self.session.focused_since(mark)])
        self.assertEqual(item.name, MENU_ENTRY, "the system menu's last entry")
        return h.Control(item)

    def test_info_button_then_escape(self):
        self.app.click("Info")
        self.wait_open("a click on Info")
        self.assert_meters_go_on_behind_the_box()
        self.session.key("Escape", hold=0.05)
        self.wait_closed("Escape")

    def test_system_menu_entry_by_keyboard_then_enter(self):
        self.open_system_menu()
        self.session.key("Return", hold=0.05)
        self.wait_open("choosing the system menu entry by keyboard")
        self.assert_meters_go_on_behind_the_box()
        self.session.key("Return", hold=0.05)
        self.wait_closed("Enter")

    def test_system_menu_entry_by_click_then_ok(self):
        self.open_system_menu().click(self.session)
        _, ok = self.wait_open("a click on the system menu entry")
        ok.click(self.session)
        self.wait_closed("a click on OK")


if __name__ == "__main__":
    h.main()
