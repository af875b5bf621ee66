// Start, Stop and Reset on the selected station, and the one message of the program.
#include <string>
#include <vector>

#include "metering/metering.h"
#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::fake::Op;

class CommandsTest : public MeterTest {
  protected:
    void SetUp() override { win.Paint(); }
};

enum class From { Cleared, Running, Halted };

struct Transition {
    From from;
    int button;
    bool running;
    const char* time;        // right after the command
    const char* amount;      // right after the command
    const char* timeNext;    // after the next second step
    const char* amountNext;  // after the next second step
};

TEST_F(CommandsTest, TransitionTable) {
    const std::vector<Transition> table = {
        {From::Cleared, IDC_START, true, "inaktiv", "", "00:00:01", "0.00 \x80"},
        {From::Cleared, IDC_STOP, false, "inaktiv", "", "inaktiv", ""},
        {From::Cleared, IDC_RESET, false, "inaktiv", "", "inaktiv", ""},
        {From::Running, IDC_START, true, "00:01:01", "0.01 \x80", "00:01:02", "0.01 \x80"},
        {From::Running, IDC_STOP, false, "00:01:01", "0.01 \x80", "00:01:01", "0.01 \x80"},
        {From::Running, IDC_RESET, false, "inaktiv", "", "inaktiv", ""},
        {From::Halted, IDC_START, true, "00:01:01", "0.01 \x80", "00:01:02", "0.01 \x80"},
        {From::Halted, IDC_STOP, false, "00:01:01", "0.01 \x80", "00:01:01", "0.01 \x80"},
        {From::Halted, IDC_RESET, false, "inaktiv", "", "inaktiv", ""},
    };
    for (const auto& t : table) {
        SCOPED_TRACE(::testing::Message()
                     << "from " << static_cast<int>(t.from) << ", button " << t.button);
        ResetMeteringState();
        win.Paint();
        win.controls.at(IDC_AMOUNT4).text.clear();
        Select(4);
        if (t.from != From::Cleared) {
            win.Click(IDC_START);
            SecondSteps(61);
        }
        if (t.from == From::Halted) {
            win.Click(IDC_STOP);
        }
        backend.log.clear();

        win.Click(t.button);

        EXPECT_EQ(Station(4).running, t.running);
        const bool cleared = t.button == IDC_RESET || t.from == From::Cleared;
        EXPECT_EQ(Station(4).minutes, cleared ? 0 : 1);
        EXPECT_EQ(Station(4).seconds, cleared ? 0 : 1);
        EXPECT_EQ(Time(4), t.time);
        EXPECT_EQ(Amount(4), t.amount);
        EXPECT_TRUE(backend.messageBoxes.empty());
        // Reset writes both texts, even on a cleared station; the others write none.
        const std::vector<int> written =
            t.button == IDC_RESET ? std::vector<int>{IDC_TIME4, IDC_AMOUNT4} : std::vector<int>{};
        EXPECT_EQ(RecordedIds(Op::SetText), written);

        SecondSteps(1);
        EXPECT_EQ(Time(4), t.timeNext);
        EXPECT_EQ(Amount(4), t.amountNext);
    }
}

TEST_F(CommandsTest, StartBeforeAnySelectionAsksForOneEveryTime) {
    bool ownerDisabled = false;
    backend.onMessageBox = [&] { ownerDisabled = !win.enabled; };
    backend.log.clear();

    win.Click(IDC_START);
    win.Click(IDC_START);

    ASSERT_EQ(backend.messageBoxes.size(), 2U);
    for (const auto& box : backend.messageBoxes) {
        EXPECT_EQ(box.text, "Bitte erst Rechner anw\xE4hlen!");
        EXPECT_EQ(box.type, platform::MB_ICONERROR);
        EXPECT_EQ(box.owner, &win);
    }
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(win.enabled);
    EXPECT_TRUE(Recorded(Op::GetCheck).empty());  // no selector is asked
    for (int n = 1; n <= kStationCount; ++n) {
        EXPECT_FALSE(Station(n).running);
    }
}

TEST_F(CommandsTest, TicksGoOnWhileTheMessageIsOpenButStartStartsNothing) {
    backend.onMessageBox = [&] {
        Ticks(3);
        backend.keys.Set(Controls(2).key, true);
        Ticks(7);
        backend.keys.Set(Controls(2).key, false);
    };
    backend.log.clear();

    win.Click(IDC_START);

    EXPECT_EQ(Recorded(Op::SetText).front().id, IDC_CLOCK);  // a second step ran meanwhile
    EXPECT_EQ(g_selectedStation, 2);
    EXPECT_EQ(Marked(), 2);
    EXPECT_FALSE(Station(2).running);

    backend.onMessageBox = nullptr;
    win.Click(IDC_START);
    EXPECT_EQ(backend.messageBoxes.size(), 1U);
    EXPECT_TRUE(Station(2).running);
}

TEST_F(CommandsTest, StopAndResetBeforeAnySelectionDoNothing) {
    const Snapshot before = Take();
    backend.log.clear();

    win.Click(IDC_STOP);
    win.Click(IDC_RESET);

    EXPECT_EQ(Take(), before);
    EXPECT_TRUE(Recorded(Op::SetText).empty());
    EXPECT_TRUE(backend.messageBoxes.empty());
}

TEST_F(CommandsTest, CommandsActOnTheSelectedStationOnly) {
    Start(2);
    Start(5);
    SecondSteps(61);

    win.Click(IDC_STOP);
    EXPECT_TRUE(Station(2).running);
    EXPECT_FALSE(Station(5).running);

    Select(2);
    win.Click(IDC_RESET);
    EXPECT_FALSE(Station(2).running);
    EXPECT_EQ(Time(2), "inaktiv");
    EXPECT_EQ(Amount(2), "");
    EXPECT_EQ(Time(5), "00:01:01");
    EXPECT_EQ(Amount(5), Euro("0.01"));
    EXPECT_EQ(Station(5).minutes, 1);

    Select(5);
    win.Click(IDC_START);
    EXPECT_TRUE(Station(5).running);
    EXPECT_FALSE(Station(2).running);
}

TEST_F(CommandsTest, ResetLeavesTheRateListAlone) {
    SetRate(3, 6);
    Start(3);
    SecondSteps(2);
    win.Click(IDC_RESET);
    EXPECT_EQ(win.Control(IDC_RATE3).cursel, 6);

    win.Click(IDC_START);
    SecondSteps(60);
    EXPECT_EQ(Amount(3), Euro("0.03"));  // one minute at 2,50, rounded half up
}

TEST_F(CommandsTest, StopThenStartResumesFromTheCounters) {
    SetRate(1, 8);
    Start(1);
    SecondSteps(90);
    win.Click(IDC_STOP);
    Ticks(50);
    EXPECT_EQ(Time(1), "00:01:30");
    EXPECT_EQ(Amount(1), Euro("0.03"));

    win.Click(IDC_START);
    SecondSteps(30);
    EXPECT_EQ(Time(1), "00:02:00");
    EXPECT_EQ(Amount(1), Euro("0.06"));
}

}  // namespace
}  // namespace velmora::testing
