// Painting: the icon of the minimised window, the idle presentation until the first
// selection, and the two display fonts.
#include <vector>

#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::Msg;
using platform::fake::FakeBackend;
using platform::fake::Op;

using PaintTest = MeterTest;

TEST_F(PaintTest, FirstPaintShowsTheIdlePresentation) {
    ASSERT_EQ(win.focus, platform::IDCANCEL);  // the first tab stop, after initialisation

    win.Paint();

    for (int n = 1; n <= kStationCount; ++n) {
        EXPECT_EQ(Time(n), "inaktiv") << n;
        EXPECT_EQ(win.Control(Controls(n).rate).cursel, 0) << n;
        EXPECT_EQ(Amount(n), "") << n;
    }
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(g_selectedStation, 0);
    EXPECT_EQ(g_currentRate, 1.0);
    EXPECT_EQ(win.focus, IDC_START);
    EXPECT_EQ(Recorded(Op::SetFocus).size(), 10U);
}

TEST_F(PaintTest, BeforeTheFirstSelectionRateAndFocusLastOnlyUntilTheNextPaint) {
    win.Paint();
    SetRate(3, 7);
    win.focus = IDC_TRAY;  // Tab moved on
    EXPECT_EQ(g_currentRate, 2.75);

    win.Paint();

    EXPECT_EQ(win.Control(IDC_RATE3).cursel, 0);
    EXPECT_EQ(g_currentRate, 1.0);
    EXPECT_EQ(win.focus, IDC_START);
}

TEST_F(PaintTest, AfterTheFirstSelectionPaintsChangeNothing) {
    win.Paint();
    Select(2);
    SetRate(4, 5);
    win.focus = IDC_RESET;
    const Snapshot before = Take();
    backend.log.clear();

    win.Paint();
    win.Send({Msg::SysCommand, 0, 0, platform::SC_MINIMIZE, 0});
    win.Paint();

    EXPECT_TRUE(Recorded(Op::SetText).empty());
    EXPECT_TRUE(Recorded(Op::SetCurSel).empty());
    EXPECT_TRUE(Recorded(Op::SetFocus).empty());
    EXPECT_EQ(Take(), before);
    EXPECT_EQ(Time(5), "inaktiv");  // never started: the idle text stays
}

TEST_F(PaintTest, MinimisedWindowDrawsTheIconCentred) {
    struct Case {
        int width, height;
        int x, y;
    };
    const std::vector<Case> table = {
        {36, 36, 2, 2}, {37, 37, 3, 3}, {0, 0, -15, -15}, {570, 475, 269, 222}};
    win.Send({Msg::SysCommand, 0, 0, platform::SC_MINIMIZE, 0});
    ASSERT_TRUE(win.IsIconic());
    for (const auto& c : table) {
        win.client = {0, 0, c.width, c.height};
        EXPECT_EQ(IconPosition(win.client, {32, 32}), (Point{c.x, c.y}));
        backend.log.clear();

        win.Paint();

        std::vector<Op> painting;
        for (const auto& r : backend.log) {
            if (r.op == Op::BeginPaint || r.op == Op::EraseIconBackground || r.op == Op::DrawIcon ||
                r.op == Op::EndPaint || r.op == Op::DefaultPaint) {
                painting.push_back(r.op);
            }
        }
        EXPECT_EQ(painting, (std::vector<Op>{Op::BeginPaint, Op::EraseIconBackground, Op::DrawIcon,
                                             Op::EndPaint}));
        const auto draws = Recorded(Op::DrawIcon);
        ASSERT_EQ(draws.size(), 1U);
        EXPECT_EQ(draws[0].value, c.x);
        EXPECT_EQ(draws[0].value2, c.y);
    }
}

TEST_F(PaintTest, MinimisedPaintAlsoRunsTheIdlePresentationAndFonts) {
    win.Send({Msg::SysCommand, 0, 0, platform::SC_MINIMIZE, 0});
    win.Paint();
    EXPECT_EQ(Time(10), "inaktiv");
    EXPECT_EQ(win.focus, IDC_START);
    EXPECT_NE(win.Control(IDC_CLOCK).font, nullptr);
    EXPECT_NE(win.Control(IDC_DATE).font, nullptr);
}

TEST_F(PaintTest, ShownWindowUsesTheDefaultPainting) {
    win.Paint();
    EXPECT_EQ(Recorded(Op::DefaultPaint).size(), 1U);
    EXPECT_TRUE(Recorded(Op::DrawIcon).empty());
}

TEST_F(PaintTest, DragIconIsTheApplicationIcon) {
    EXPECT_EQ(win.Send({Msg::QueryDragIcon}), reinterpret_cast<std::intptr_t>(dlg.Icon()));
    EXPECT_EQ(dlg.Icon(), backend.LoadIcon(IDI_APP, 32, 32));
}

TEST_F(PaintTest, TwoDisplayFontsCreatedOnceAndAppliedOnEveryPaint) {
    for (int i = 0; i < 50; ++i) {
        win.Paint();
        if (i == 10) {
            Select(1);
        }
    }
    EXPECT_EQ(backend.liveFonts, 2);
    EXPECT_EQ(backend.fontsCreated, 2);

    const auto fonts = Recorded(Op::SetFont);
    ASSERT_EQ(fonts.size(), 100U);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        EXPECT_EQ(fonts[i].id, i % 2 == 0 ? IDC_CLOCK : IDC_DATE);
        EXPECT_EQ(fonts[i].value2, 1);  // redraw at once
    }
    const platform::FontRequest clock = FakeBackend::RequestOf(win.Control(IDC_CLOCK).font);
    const platform::FontRequest date = FakeBackend::RequestOf(win.Control(IDC_DATE).font);
    EXPECT_EQ(clock.height, 30);
    EXPECT_EQ(date.height, 20);
    for (const auto& f : {clock, date}) {
        EXPECT_EQ(f.face, "Arial");
        EXPECT_EQ(f.weight, 700);
        EXPECT_EQ(f.width, 0);
        EXPECT_EQ(f.escapement, 0);
        EXPECT_EQ(f.orientation, 0);
        EXPECT_FALSE(f.italic);
        EXPECT_FALSE(f.underline);
        EXPECT_FALSE(f.strikeOut);
        EXPECT_EQ(f.charSet, 1);
        EXPECT_EQ(f.outPrecision, 1);
        EXPECT_EQ(f.clipPrecision, 1);
        EXPECT_EQ(f.quality, 0);
        EXPECT_EQ(f.pitchAndFamily, 0);
    }
}

TEST_F(PaintTest, FailedFontCreationSendsNoFontAndIsRetriedAtTheNextPaint) {
    backend.failFontCreations = 1;

    win.Paint();
    EXPECT_EQ(win.Control(IDC_CLOCK).font, nullptr);
    EXPECT_NE(win.Control(IDC_DATE).font, nullptr);
    const auto first = Recorded(Op::SetFont);
    ASSERT_EQ(first.size(), 2U);
    EXPECT_EQ(first[0].id, IDC_CLOCK);
    EXPECT_EQ(first[0].value, 0);
    EXPECT_EQ(backend.liveFonts, 1);

    win.Paint();
    EXPECT_NE(win.Control(IDC_CLOCK).font, nullptr);
    EXPECT_EQ(FakeBackend::RequestOf(win.Control(IDC_CLOCK).font).height, 30);
    EXPECT_EQ(backend.liveFonts, 2);
    EXPECT_EQ(Recorded(Op::CreateFont).size(), 3U);
}

}  // namespace
}  // namespace velmora::testing
