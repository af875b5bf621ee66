"""Start, Stopp and Reset on the selected station, the message before any selection, and
two stations running at different rates."""

import harness as h

EURO_ZERO = "0.00 \u20ac"


class Commands(h.E2ETestCase):
    def wait_counting(self, n, at_least=2):
        app = self.app
        return h.wait_until(lambda: (h.seconds_of(app.time_text(n)) or 0) >= at_least and
                            app.time_text(n),
                            "station %d to count %d seconds" % (n, at_least),
                            seen=lambda: repr(app.time_text(n)))

    def assert_untouched(self, stations, duration):
        app = self.app
        h.hold_still(lambda: all(app.time_text(n) == "inaktiv" and app.amount_text(n) == ""
                                 for n in stations),
                     'stations %s to stay cleared ("inaktiv", no amount)' % stations, duration,
                     seen=lambda: [(n, app.time_text(n), app.amount_text(n)) for n in stations])

    def test_start_before_any_selection_shows_the_message(self):
        app, session = self.app, self.session

        # Escape closes the box, not the main window.
        app.click("Start")
        h.wait_until(app.message_box, "the message box")
        session.key("Escape", hold=0.05)
        h.wait_until(lambda: app.message_box() is None, "Escape to close the message box")
        app.ensure_alive()
        self.assertTrue(app.windows("Velmora"), "the main window should stay")

        # Stop and Reset before any selection show nothing.
        app.click("Stopp")
        app.click("Reset")
        h.hold_still(lambda: app.message_box() is None, "no message box after Stopp and Reset",
                     1.0)

        app.click("Start")
        # Its caption is the program file's name: message_box() finds it by that.
        box, _ = h.wait_until(app.message_box, "the message box")
        children = [box.getChildAtIndex(i) for i in range(box.childCount)]
        texts = [c.name for c in children if c.getRoleName() == "label"]
        self.assertEqual(texts, ["Bitte erst Rechner anw\u00e4hlen!"], "the message's text")
        buttons = [a.name for a, _ in h.walk(box) if a.getRoleName() == "push button"]
        self.assertEqual(buttons, ["OK"], "the message box's buttons")
        self.assertTrue(any(c.getRoleName() == "image" for c in children), "the error icon")

        # The main window takes no input meanwhile, the tick goes on.
        app.click(h.selector(2))
        h.hold_still(lambda: app.marked() == [], "no selection by a click behind the box", 1.0,
                     seen=lambda: app.marked())
        app.wait_second_steps(2)
        session.key("F4")
        app.wait_marked([4])

        ok = [a for a, _ in h.walk(box) if a.name == "OK"][0]
        h.Control(ok).click(session)
        h.wait_until(lambda: app.message_box() is None, "OK to close the message box")
        # The Start that showed the box starts nothing, not even the station picked meanwhile.
        self.assert_untouched(range(1, 11), 1.5)
        self.assertEqual(app.marked(), [4])

    def test_stop_keeps_the_texts_and_reset_clears_them(self):
        app = self.app
        app.click(h.selector(2))
        app.wait_marked([2])
        app.click("Start")
        self.wait_counting(2)
        app.click(h.selector(5))
        app.wait_marked([5])
        app.click("Start")
        self.wait_counting(5, 1)

        # Stop acts on the selected station only.
        at_click = h.seconds_of(app.time_text(5))
        app.click("Stopp")
        app.wait_second_steps(2)
        stopped = (app.time_text(5), app.amount_text(5))
        self.assertIsNotNone(h.seconds_of(stopped[0]), "time after Stopp: %r" % (stopped,))
        self.assertLessEqual(h.seconds_of(stopped[0]), at_click + 2,
                             "station 5 should halt at the click")
        self.assertEqual(stopped[1], EURO_ZERO)
        before = h.seconds_of(app.time_text(2))
        h.hold_still(lambda: (app.time_text(5), app.amount_text(5)) == stopped,
                     "station 5's time and amount to stay as they were", 2.0,
                     seen=lambda: (app.time_text(5), app.amount_text(5)))
        self.assertGreater(h.seconds_of(app.time_text(2)), before,
                           "station 2 should go on counting")

        # Start resumes from the counters as they were.
        app.click("Start")
        resumed = h.seconds_of(stopped[0])
        h.wait_until(lambda: (h.seconds_of(app.time_text(5)) or 0) > resumed,
                     "station 5 to count on from %s" % stopped[0],
                     seen=lambda: app.time_text(5))
        self.assertLessEqual(h.seconds_of(app.time_text(5)), resumed + 3,
                             "station 5 should resume, not jump")

        app.click("Reset")
        h.wait_until(lambda: (app.time_text(5), app.amount_text(5)) == ("inaktiv", ""),
                     'Reset to show "inaktiv" and an empty amount',
                     seen=lambda: (app.time_text(5), app.amount_text(5)))
        self.assert_untouched([5], 1.5)
        self.assertNotEqual(app.time_text(2), "inaktiv", "Reset should leave station 2 alone")

    def test_two_stations_at_their_own_rates(self):
        app, session = self.app, self.session
        app.click(h.selector(1))
        app.wait_marked([1])
        app.pick_rate(2, "3,00")
        h.wait_until(lambda: app.control("Start").focused,
                     'the focus on "Start" after picking a rate',
                     seen=lambda: app.focused_name())
        self.assertEqual(app.rate_text(1), "1,00")

        app.click("Start")
        app.click(h.selector(2))
        app.wait_marked([2])
        app.click("Start")
        self.wait_counting(1, 3)
        self.wait_counting(2, 2)
        for n, rate in ((1, "1,00"), (2, "3,00")):
            self.assertEqual(app.rate_text(n), rate, "rate list %d after counting" % n)
            self.assertEqual(app.amount_text(n), EURO_ZERO, "amount of station %d" % n)

        # The rate re-read of every second never takes the focus away.
        session.key("Tab", hold=0.05)
        h.wait_until(lambda: app.control("Stopp").focused, 'Tab to move the focus to "Stopp"',
                     seen=lambda: app.focused_name())
        counted = h.seconds_of(app.time_text(1))
        h.hold_still(lambda: app.control("Stopp").focused, 'the focus on "Stopp"', 2.5,
                     seen=lambda: app.focused_name())
        self.assertGreater(h.seconds_of(app.time_text(1)), counted,
                           "station 1 should count meanwhile")
        for n, rate in ((1, "1,00"), (2, "3,00")):
            self.assertEqual(app.rate_text(n), rate, "rate list %d" % n)


if __name__ == "__main__":
    h.main()
