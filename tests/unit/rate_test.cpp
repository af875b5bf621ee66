// The rate read: a list's text to cents per minute, and the focus it moves.
#include <string>
#include <vector>

#include "metering/metering.h"
#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::Msg;
using platform::fake::Op;

class RateTest : public MeterTest {
  protected:
    // The operator's choice arriving for station n's list, whatever it shows.
    void Notify(int n) { win.Send({Msg::Command, Controls(n).rate, platform::CBN_SELCHANGE}); }
    // Puts an entry of our own into station n's list and picks it.
    void PickText(int n, const std::string& text) {
        const int index = win.AddString(Controls(n).rate, text);
        ASSERT_GE(index, 0);
        win.Control(Controls(n).rate).cursel = index;
        Notify(n);
    }
};

TEST_F(RateTest, EveryEntryOfEveryListReadsAsItsValue) {
    const std::vector<double> values = {1.0, 1.25, 1.5, 1.75, 2.0, 2.25, 2.5, 2.75, 3.0};
    for (int n = 1; n <= kStationCount; ++n) {
        for (int i = 0; i < 9; ++i) {
            backend.log.clear();
            SetRate(n, i);
            EXPECT_EQ(g_currentRate, values[static_cast<std::size_t>(i)])
                << "station " << n << ", entry " << i;
            // Each notification reads its own station's list and nothing else.
            EXPECT_EQ(RecordedIds(Op::GetText), std::vector<int>{Controls(n).rate});
        }
    }
}

TEST_F(RateTest, ListShowingNoEntryReadsAsZero) {
    g_currentRate = 7.0;
    Notify(5);
    EXPECT_EQ(g_currentRate, 0.0);
}

struct OddText {
    const char* text;
    double rate;
};

TEST_F(RateTest, OddTextsFollowTheCommaRuleAndTheNineCharacterLimit) {
    const std::vector<OddText> table = {
        {"", 0.0},
        {"abc", 0.0},
        {"x1,00", 0.0},
        {"1,5", 1.5},
        {",5", 0.5},
        {"   2,5", 2.5},       // comma in the fifth position: replaced
        {"    2,5", 2.0},      // comma in the sixth position: left alone
        {"1234,5", 1234.5},    // fifth position
        {"12345,6", 12345.0},  // sixth position
        {"1,2,3", 1.2},        // every comma of the first five, then the longest number
        {"3,00 Cent", 3.0},
        {"1.2345678912", 1.2345678},  // nine characters read
        {"123456789012", 123456789.0},
    };
    for (const auto& t : table) {
        g_currentRate = -1.0;
        PickText(1, t.text);
        EXPECT_EQ(g_currentRate, t.rate) << '"' << t.text << '"';
    }
}

TEST_F(RateTest, PickMovesTheFocusToStartUnlessSuppressed) {
    win.focus = IDC_STOP;
    SetRate(3, 2);
    EXPECT_EQ(win.focus, IDC_START);

    win.focus = IDC_RATE2;
    backend.log.clear();
    g_suppressFocus = true;
    dlg.OnRateChanged(2);
    g_suppressFocus = false;
    EXPECT_EQ(win.focus, IDC_RATE2);
    EXPECT_TRUE(Recorded(Op::SetFocus).empty());
}

TEST_F(RateTest, PickForAStationNotRunningWritesNoField) {
    win.Paint();
    Start(1);
    SecondSteps(61);
    backend.log.clear();

    SetRate(6, 8);
    SetRate(1, 8);  // running, but re-priced only at the next second step

    EXPECT_TRUE(Recorded(Op::SetText).empty());
    EXPECT_EQ(Amount(1), Euro("0.01"));
    EXPECT_EQ(win.focus, IDC_START);
}

}  // namespace
}  // namespace velmora::testing
