// Selecting a station: by its selector, by F1 through the help request, by F2 to F10
// through the tick's key poll. Whichever way, exactly one mark, and never back to none.
#include <vector>

#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::Msg;
using platform::fake::Op;

enum class Way { Click, F1, Poll };

struct Selection {
    Way way;
    int station;
};

class SelectionTest : public MeterTest {
  protected:
    void Apply(const Selection& s) {
        switch (s.way) {
            case Way::Click:
                Select(s.station);
                break;
            case Way::F1:
                backend.keys.Set(platform::VK_F1, true);
                win.Send({Msg::Help});
                backend.keys.Set(platform::VK_F1, false);
                break;
            case Way::Poll:
                backend.keys.Set(Controls(s.station).key, true);
                win.Tick();
                backend.keys.Set(Controls(s.station).key, false);
                break;
        }
    }
};

TEST_F(SelectionTest, StartsWithNothingSelectedAndNoMark) {
    EXPECT_EQ(g_selectedStation, 0);
    EXPECT_EQ(Marked(), 0);
}

TEST_F(SelectionTest, ExactlyOneMarkAfterAnyMixOfEntryPoints) {
    const std::vector<Selection> sequence = {
        {Way::Click, 3}, {Way::Poll, 7},  {Way::F1, 1},    {Way::Click, 10}, {Way::Poll, 2},
        {Way::Click, 2}, {Way::F1, 1},    {Way::Poll, 10}, {Way::Click, 1},  {Way::Poll, 9},
        {Way::F1, 1},    {Way::Click, 4}, {Way::Click, 5}, {Way::Click, 6},  {Way::Click, 8},
        {Way::Poll, 3},  {Way::Poll, 4},  {Way::Poll, 5},  {Way::Poll, 6},   {Way::Poll, 8},
    };
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        Apply(sequence[i]);
        EXPECT_EQ(g_selectedStation, sequence[i].station) << "step " << i;
        EXPECT_EQ(Marked(), sequence[i].station) << "step " << i;
    }
}

TEST_F(SelectionTest, EveryWaySendsAllTenMarksInStationOrder) {
    const std::vector<int> order = {1000, 1001, 1030, 1014, 1017, 1018, 1019, 1020, 1021, 1016};
    const std::vector<Selection> ways = {{Way::Click, 3}, {Way::Click, 10}, {Way::F1, 1},
                                         {Way::Poll, 4},  {Way::Poll, 10},  {Way::Click, 3}};
    for (const auto& way : ways) {
        backend.log.clear();
        Apply(way);
        const auto marks = Recorded(Op::SetCheck);
        ASSERT_EQ(marks.size(), 10U) << "station " << way.station;
        for (std::size_t i = 0; i < marks.size(); ++i) {
            EXPECT_EQ(marks[i].id, order[i]);
            EXPECT_EQ(marks[i].value, static_cast<int>(i) + 1 == way.station ? 1 : 0)
                << "station " << way.station << ", selector " << order[i];
        }
    }
}

TEST_F(SelectionTest, RepeatedClickChangesNothing) {
    win.Paint();
    Start(4);
    SecondSteps(3);
    const Snapshot before = Take();
    const int ticks = g_tickCount;
    backend.log.clear();

    Select(4);

    EXPECT_EQ(Take(), before);
    EXPECT_EQ(g_tickCount, ticks);
    EXPECT_EQ(backend.log.size(), Recorded(Op::SetCheck).size());
}

TEST_F(SelectionTest, HelpRequestSelectsOnlyWhileF1IsDown) {
    backend.log.clear();
    EXPECT_EQ(win.Send({Msg::Help}), 0);
    EXPECT_EQ(g_selectedStation, 0);
    EXPECT_TRUE(Recorded(Op::SetCheck).empty());

    Select(6);
    EXPECT_EQ(win.Send({Msg::Help}), 0);
    EXPECT_EQ(Marked(), 6);

    backend.keys.Set(platform::VK_F1, true);
    EXPECT_EQ(win.Send({Msg::Help}), 0);  // held down: key repeat selects 1 again and again
    EXPECT_EQ(win.Send({Msg::Help}), 0);
    EXPECT_EQ(g_selectedStation, 1);
    EXPECT_EQ(Marked(), 1);
}

TEST_F(SelectionTest, SelectingTouchesNoMeterTextOrFocus) {
    win.Paint();
    Start(2);
    Start(5);
    SecondSteps(2);
    win.focus = IDC_RESET;
    const Snapshot before = Take();

    Select(7);

    Snapshot after = Take();
    EXPECT_EQ(after.selected, 7);
    EXPECT_EQ(after.stations, before.stations);
    EXPECT_EQ(after.focus, IDC_RESET);
    for (const auto& [id, c] : before.controls) {
        EXPECT_EQ(std::get<0>(after.controls[id]), std::get<0>(c)) << "text of " << id;
    }
}

TEST_F(SelectionTest, NothingBringsTheSelectionBackToNone) {
    Select(8);
    win.Paint();
    win.Click(IDC_STOP);
    win.Click(IDC_RESET);
    win.Click(IDC_START);
    win.Send({Msg::Help});
    Ticks(25);
    win.Paint();
    win.Click(IDC_TRAY);
    backend.TrayEvent(platform::WM_LBUTTONUP);
    win.Click(IDC_INFO);
    EXPECT_EQ(g_selectedStation, 8);
    EXPECT_EQ(Marked(), 8);
}

}  // namespace
}  // namespace velmora::testing
