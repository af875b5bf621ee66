// The tick engine: the key poll on every tick, the second step on every tenth, and each
// running station priced at its own list.
#include <vector>

#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::fake::Op;

class TickTest : public MeterTest {
  protected:
    void SetUp() override { win.Paint(); }
};

TEST_F(TickTest, TwentyFiveTicksMakeTwoSecondStepsWithOneKeyQueryEach) {
    Start(1);
    backend.keyQueries = 0;
    backend.log.clear();

    Ticks(25);

    EXPECT_EQ(RecordedIds(Op::SetText),
              (std::vector<int>{IDC_CLOCK, IDC_DATE, IDC_TIME1, IDC_AMOUNT1, IDC_CLOCK, IDC_DATE,
                                IDC_TIME1, IDC_AMOUNT1}));
    EXPECT_EQ(g_tickCount, 5);
    EXPECT_EQ(backend.keyQueries, 25);
    EXPECT_EQ(Time(1), "00:00:02");
}

TEST_F(TickTest, SecondStepRefreshesTheClockFirstThenRunningStationsInOrder) {
    Start(7);
    Start(3);
    SetRate(9, 3);
    backend.log.clear();

    SecondSteps(1);

    EXPECT_EQ(RecordedIds(Op::SetText), (std::vector<int>{IDC_CLOCK, IDC_DATE, IDC_TIME3,
                                                          IDC_AMOUNT3, IDC_TIME7, IDC_AMOUNT7}));
    EXPECT_EQ(RecordedIds(Op::GetText), (std::vector<int>{IDC_RATE3, IDC_RATE7}));
    EXPECT_EQ(Time(9), "inaktiv");
}

TEST_F(TickTest, StartDoesNotRestartTheSharedDivider) {
    Ticks(7);
    Start(2);
    Ticks(2);
    EXPECT_EQ(Time(2), "inaktiv");
    Ticks(1);
    EXPECT_EQ(Time(2), "00:00:01");
    EXPECT_EQ(Amount(2), Euro("0.00"));
}

TEST_F(TickTest, EachRunningStationIsPricedAtItsOwnList) {
    SetRate(1, 0);
    SetRate(2, 8);
    Start(1);
    Start(2);
    SetRate(5, 4);  // the last pick elsewhere leaves 2.0 in the shared scratch value

    SecondSteps(60);

    EXPECT_EQ(Time(1), "00:01:00");
    EXPECT_EQ(Time(2), "00:01:00");
    EXPECT_EQ(Amount(1), Euro("0.01"));
    EXPECT_EQ(Amount(2), Euro("0.03"));
}

TEST_F(TickTest, RateChangeRepricesEveryMinuteAtTheNextStep) {
    Start(1);
    SetCounters(1, 0, 10, 29);
    SecondSteps(1);
    ASSERT_EQ(Time(1), "00:10:30");
    ASSERT_EQ(Amount(1), Euro("0.10"));

    SetRate(1, 4);
    EXPECT_EQ(Time(1), "00:10:30");
    EXPECT_EQ(Amount(1), Euro("0.10"));

    SecondSteps(1);
    EXPECT_EQ(Time(1), "00:10:31");
    EXPECT_EQ(Amount(1), Euro("0.20"));
}

TEST_F(TickTest, StoppedStationKeepsItsAmountAfterARateChange) {
    Start(1);
    SetCounters(1, 0, 10, 29);
    SecondSteps(1);
    win.Click(IDC_STOP);

    SetRate(1, 8);
    SecondSteps(3);
    EXPECT_EQ(Time(1), "00:10:30");
    EXPECT_EQ(Amount(1), Euro("0.10"));

    win.Click(IDC_START);
    SecondSteps(1);
    EXPECT_EQ(Time(1), "00:10:31");
    EXPECT_EQ(Amount(1), Euro("0.30"));
}

TEST_F(TickTest, TheTickNeverMovesTheFocus) {
    Start(1);
    Start(2);
    Start(10);
    win.focus = IDC_RATE5;
    backend.log.clear();

    SecondSteps(5);

    EXPECT_EQ(win.focus, IDC_RATE5);
    EXPECT_TRUE(Recorded(Op::SetFocus).empty());
    EXPECT_FALSE(g_suppressFocus);
}

TEST_F(TickTest, KeyPollSelects) {
    struct Case {
        std::vector<int> keys;  // station numbers whose key is down
        int ticks;
        int selected;
        std::size_t sweeps;  // rounds of ten marks
    };
    const std::vector<Case> table = {
        {{2, 9}, 1, 9, 2},                  // both in one tick: the higher one ends selected
        {{4}, 5, 4, 5},                     // held: selected again on every tick, same result
        {{10}, 1, 10, 1},  {{1}, 3, 0, 0},  // F1 is not polled
        {{}, 10, 0, 0},
    };
    for (const auto& c : table) {
        ResetMeteringState();
        for (int n = 1; n <= kStationCount; ++n) {
            win.Control(Controls(n).selector).checked = false;
        }
        for (const int n : c.keys) {
            backend.keys.Set(Controls(n).key, true);
        }
        backend.log.clear();
        Ticks(c.ticks);
        backend.keys = {};

        EXPECT_EQ(g_selectedStation, c.selected);
        EXPECT_EQ(Marked(), c.selected);
        const auto marks = Recorded(Op::SetCheck);
        EXPECT_EQ(marks.size(), 10 * c.sweeps);
        if (c.keys.size() == 2) {
            ASSERT_EQ(marks.size(), 20U);
            EXPECT_EQ(marks[1].value, 1);   // station 2 first
            EXPECT_EQ(marks[18].value, 1);  // then station 9
        }
    }
}

TEST_F(TickTest, StationStartedAfterResetCountsFromZero) {
    Start(6);
    SecondSteps(75);
    win.Click(IDC_RESET);
    win.Click(IDC_START);
    Ticks(9 - g_tickCount);
    EXPECT_EQ(Time(6), "inaktiv");
    EXPECT_EQ(Amount(6), "");

    SecondSteps(1);
    EXPECT_EQ(Time(6), "00:00:01");
    EXPECT_EQ(Amount(6), Euro("0.00"));
    SecondSteps(58);
    EXPECT_EQ(Time(6), "00:00:59");
    EXPECT_EQ(Amount(6), Euro("0.00"));
    SecondSteps(1);
    EXPECT_EQ(Time(6), "00:01:00");
    EXPECT_EQ(Amount(6), Euro("0.01"));
}

TEST_F(TickTest, ListWithoutANumberPricesAtZeroWhileTimeGoesOn) {
    Start(8);
    win.Control(IDC_RATE8).cursel = -1;
    SetCounters(8, 2, 0, 0);
    SecondSteps(1);
    EXPECT_EQ(Time(8), "02:00:01");
    EXPECT_EQ(Amount(8), Euro("0.00"));
}

}  // namespace
}  // namespace velmora::testing
