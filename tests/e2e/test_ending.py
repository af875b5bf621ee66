"""Every way of ending the program ends it at once, with status 0; Enter on a push button
only clicks that button."""

import harness as h

END_TIMEOUT = 10.0


class Ending(h.E2ETestCase):
    def assert_ends(self, how):
        process = self.app.process
        status = process.wait(END_TIMEOUT)
        self.assertIsNotNone(status, "the program should end within %.0f s after %s" %
                             (END_TIMEOUT, how))
        self.assertEqual(status, 0, "exit status after %s; output: %s" % (how, self.app.log()))

    def test_enter_after_a_click_on_a_selector(self):
        self.app.click(h.selector(4))
        self.app.wait_marked([4])
        self.session.key("Return", hold=0.05)
        self.assert_ends("Enter on a selector")

    def test_escape_while_a_station_runs(self):
        self.app.run_station(1)
        # The focus stays on Start: Escape ends whatever has the focus.
        self.session.key("Escape", hold=0.05)
        self.assert_ends("Escape")

    def test_alt_f4_through_the_window_manager(self):
        self.session.activate(self.app.wid)
        self.session.key("alt+F4", hold=0.05)
        self.assert_ends("Alt+F4")

    def test_close_box_of_the_title_bar(self):
        frame = self.session.frame_geometry(self.app.wid)
        client = self.session.window_geometry(self.app.wid)
        title_height = client["y"] - frame["y"]
        # openbox puts the close box at the right end of the title bar.
        self.session.click_at(frame["x"] + frame["w"] - title_height // 2 - 2,
                              frame["y"] + title_height // 2)
        self.assert_ends("a click on the close box")

    def test_exit_button(self):
        self.app.click("Anwendung beenden")
        self.assert_ends('a click on "Anwendung beenden"')

    def test_enter_on_a_push_button_clicks_it(self):
        app = self.app
        h.wait_until(lambda: app.control("Start").focused, 'the focus on "Start"',
                     seen=lambda: app.focused_name())
        # Enter on the focused Start is a click on Start: before any selection, the message.
        self.session.key("Return", hold=0.05)
        h.wait_until(app.message_box, "the message box after Enter on Start")
        self.assertIsNone(app.process.returncode(), "Enter on Start should end nothing")
        self.session.key("Return", hold=0.05)
        h.wait_until(lambda: app.message_box() is None, "Enter to close the message box")
        h.hold_still(lambda: app.process.alive(), "the program to run on", 1.0)


if __name__ == "__main__":
    h.main()
