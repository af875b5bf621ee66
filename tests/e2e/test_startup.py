"""Start-up: where the window opens, what it holds and how it looks before any selection."""

import time

import harness as h


class StartUp(h.E2ETestCase):
    def test_window_opens_at_the_top_left_corner(self):
        frame = self.session.frame_geometry(self.app.wid)
        self.assertEqual((frame["x"], frame["y"]), (0, 0),
                         "the window's frame should stand at the screen's top-left corner; "
                         "seen %s" % frame)
        self.assertTrue(self.session.is_viewable(self.app.wid), "the window should be mapped")

    def test_all_controls_are_exposed_with_their_names(self):
        self.assertEqual(self.app.child_count(), 57, "controls of the main window")
        controls = self.app.controls()
        roles = {}
        for name, c in controls.items():
            roles.setdefault(c.role, []).append(name)
        for n in range(1, 11):
            self.assertIn(h.selector(n), roles.get("radio button", []))
            self.assertEqual(controls[h.selector(n)].name, h.selector(n))
            self.assertIn(h.time_field(n), roles["text"])
            self.assertIn(h.amount_field(n), roles["text"])
            self.assertEqual(controls[h.rate_list(n)].role, "combo box")
            self.assertEqual(controls[h.rate_list(n)].text, "1,00")
        for caption in h.BUTTONS:
            self.assertIn(caption, roles["push button"])
        for name in ("Uhrzeit", "Datum"):
            self.assertIn(name, roles["text"])
        for caption in ("Rechner-Anwahl", "Abrechnung"):
            self.assertIn(caption, roles["panel"], "group box %r" % caption)
        labels = roles.get("label", [])
        for caption in ("Gesamtbetrag", "Cent / Minute", "Velmora", "Version 1.0"):
            self.assertIn(caption, labels)
        self.assertEqual(len(labels), 6, "two column labels and four branding lines: %s" %
                         labels)
        self.assertEqual(roles.get("image"), ["Velmora-Logo"])

    def test_idle_presentation_after_the_first_paint(self):
        app = self.app
        for n in range(1, 11):
            h.wait_until(lambda: app.rate_text(n) == "1,00",
                         'rate list %d showing "1,00"' % n, seen=lambda: repr(app.rate_text(n)))
            self.assertEqual(app.time_text(n), "inaktiv", "time field of station %d" % n)
            self.assertEqual(app.amount_text(n), "", "amount field of station %d" % n)
        self.assertEqual(app.marked(), [], "no selector should carry a check mark")
        h.wait_until(lambda: app.control("Start").focused,
                     'the focus on "Start" after the first paint',
                     seen=lambda: app.focused_name())

    def test_clock_and_date_follow_the_local_time(self):
        app = self.app
        clock = app.control("Uhrzeit")
        date = app.control("Datum")
        h.wait_until(lambda: h.CLOCK_RE.match(clock.text) and h.DATE_RE.match(date.text),
                     'the clock " HH:MM:SS " and the date "<Wochentag>, DD.MM.YYYY"', 5.0,
                     seen=lambda: (clock.text, date.text))
        before = time.time()
        shown_clock, shown_date = clock.text, date.text
        after = time.time()
        expected = set()
        for t in (before - 3, before - 2, before - 1, before, after):
            lt = time.localtime(t)
            expected.add((time.strftime(" %H:%M:%S ", lt),
                          "%s, %s" % (h.WEEKDAYS[lt.tm_wday], time.strftime("%d.%m.%Y", lt))))
        self.assertIn((shown_clock, shown_date), expected,
                      "clock and date should show the local time of the last second")
        h.wait_until(lambda: clock.text != shown_clock, "the clock to move on",
                     seen=lambda: clock.text)


if __name__ == "__main__":
    h.main()
