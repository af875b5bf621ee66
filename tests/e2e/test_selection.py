"""Selecting a station: F1 in the active window, a click on a selector, and F2 to F10
from whichever application holds the focus."""

import time

import harness as h


class Selection(h.E2ETestCase):
    def test_f1_and_clicks_mark_exactly_one_station(self):
        app, session = self.app, self.session
        session.activate(app.wid)
        session.key("F1")
        app.wait_marked([1])
        app.click(h.selector(3))
        app.wait_marked([3])
        # A click on the selector already marked changes nothing.
        app.click(h.selector(3))
        h.hold_still(lambda: app.marked() == [3], "the mark on station 3 alone", 0.5,
                     seen=lambda: app.marked())
        session.key("F10")
        app.wait_marked([10])

    def test_function_keys_from_another_application(self):
        app, session = self.app, self.session
        other, other_wid = session.open_other_window()
        self.addCleanup(session.close_process, other)
        # F1 belongs to the help request of our own active window only.
        session.key("F1")
        h.hold_still(lambda: app.marked() == [], "no station to be selected by F1 pressed in "
                     "another application", 1.0, seen=lambda: app.marked())
        self.assertEqual(session.active_window(), other_wid,
                         "the other application should still hold the focus")
        session.key("F5")
        app.wait_marked([5])
        self.assertEqual(session.active_window(), other_wid,
                         "selecting by key should leave the focus where it was")

        app.click("Start")
        clicked = time.monotonic()
        shown = h.wait_until(lambda: (h.seconds_of(app.time_text(5)) or 0) >= 2 and
                             app.time_text(5),
                             "station 5 to count two seconds", seen=lambda: app.time_text(5))
        elapsed = time.monotonic() - clicked
        counted = h.seconds_of(shown)
        self.assertGreaterEqual(elapsed, 1.0, "two seconds counted %.2f s after Start" % elapsed)
        self.assertLessEqual(counted, int(elapsed) + 1,
                             "station 5 shows %s only %.2f s after Start" % (shown, elapsed))
        h.wait_until(lambda: app.amount_text(5) == "0.00 \u20ac", 'the amount "0.00 \u20ac"',
                     seen=lambda: repr(app.amount_text(5)))
        # About three seconds after the click: two to four seconds counted (later on a
        # slow machine, but never more than the time that has passed).
        while time.monotonic() - clicked < 3.0:
            time.sleep(h.POLL)
        counted = h.seconds_of(app.time_text(5))
        elapsed = time.monotonic() - clicked
        self.assertTrue(counted is not None and 2 <= counted <= max(4, int(elapsed) + 1),
                        "%.1f s after Start station 5 should show 00:00:02 to 00:00:04, seen %r"
                        % (elapsed, app.time_text(5)))
        for n in range(1, 11):
            if n != 5:
                self.assertEqual(app.time_text(n), "inaktiv", "station %d should not run" % n)


if __name__ == "__main__":
    h.main()
