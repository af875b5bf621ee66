// The clock and date line, read afresh from an injected time source at every second step.
// The test run sets TZ=Europe/Berlin.
#include <time.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "clock/clock.h"
#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::fake::Op;

std::int64_t g_fakeNow = 0;
std::int64_t FakeNow() {
    return g_fakeNow;
}

class ClockTest : public MeterTest {
  protected:
    void SetUp() override {
        tzset();
        SetTimeSource(&FakeNow);
    }
    void RefreshAt(std::int64_t t) {
        g_fakeNow = t;
        SecondSteps(1);
    }
};

struct ClockRow {
    std::int64_t t;
    const char* clock;
    const char* date;
};

TEST_F(ClockTest, ClockAndDateInBerlin) {
    const std::vector<ClockRow> table = {
        {1765285503, " 14:05:03 ", "Dienstag, 09.12.2025"},
        {1110089049, " 07:04:09 ", "Sonntag, 06.03.2005"},
        // Midnight: the new day's name and date come with the new time.
        {1765321199, " 23:59:59 ", "Dienstag, 09.12.2025"},
        {1765321200, " 00:00:00 ", "Mittwoch, 10.12.2025"},
        // Into daylight-saving time: 02:00 CET becomes 03:00 CEST.
        {1743296399, " 01:59:59 ", "Sonntag, 30.03.2025"},
        {1743296400, " 03:00:00 ", "Sonntag, 30.03.2025"},
        // Out of it: 03:00 CEST becomes 02:00 CET.
        {1761440399, " 02:59:59 ", "Sonntag, 26.10.2025"},
        {1761440400, " 02:00:00 ", "Sonntag, 26.10.2025"},
        {0, " 01:00:00 ", "Donnerstag, 01.01.1970"},
    };
    for (const auto& row : table) {
        RefreshAt(row.t);
        EXPECT_EQ(g_now, row.t);
        EXPECT_EQ(win.Text(IDC_CLOCK), row.clock) << row.t;
        EXPECT_EQ(win.Text(IDC_DATE), row.date) << row.t;
    }
}

TEST_F(ClockTest, EveryWeekdayHasItsGermanName) {
    const std::vector<std::string> dates = {
        "Sonntag, 07.12.2025",  "Montag, 08.12.2025",     "Dienstag, 09.12.2025",
        "Mittwoch, 10.12.2025", "Donnerstag, 11.12.2025", "Freitag, 12.12.2025",
        "Samstag, 13.12.2025",
    };
    const std::int64_t sunday = 1765285503 - 2 * 86400;
    for (std::size_t d = 0; d < dates.size(); ++d) {
        RefreshAt(sunday + static_cast<std::int64_t>(d) * 86400);
        EXPECT_EQ(win.Text(IDC_DATE), dates[d]);
    }
}

TEST_F(ClockTest, UnconvertibleTimeShowsTheFailureTextsAndTheNextRefreshRecovers) {
    RefreshAt(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(win.Text(IDC_CLOCK), " -1:-1:-1 ");
    const std::string date = win.Text(IDC_DATE);
    const std::string tail = ", 00.00.0000";
    ASSERT_GE(date.size(), tail.size());
    EXPECT_EQ(date.substr(date.size() - tail.size()), tail);

    RefreshAt(1765285503);
    EXPECT_EQ(win.Text(IDC_CLOCK), " 14:05:03 ");
}

TEST_F(ClockTest, ClockFieldIsWrittenBeforeTheDateFieldAtEveryStep) {
    backend.log.clear();
    RefreshAt(1765285503);
    RefreshAt(1765285503);  // unchanged texts are written again
    EXPECT_EQ(RecordedIds(Op::SetText),
              (std::vector<int>{IDC_CLOCK, IDC_DATE, IDC_CLOCK, IDC_DATE}));
}

TEST_F(ClockTest, EachStepReadsTheSourceAfreshAndDoesNotDrift) {
    RefreshAt(1765285503);
    g_fakeNow += 5;  // steps late: the shown seconds jump
    SecondSteps(1);
    EXPECT_EQ(g_now, 1765285508);
    EXPECT_EQ(win.Text(IDC_CLOCK), " 14:05:08 ");
    EXPECT_EQ(win.Text(IDC_DATE), "Dienstag, 09.12.2025");
}

}  // namespace
}  // namespace velmora::testing
