// Under a German locale, as the Qt application switches the C library to, rates must still
// read and amounts still print with the decimal point.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "metering/texts.h"
#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

bool GermanLocaleActive() {
    return std::string(std::localeconv()->decimal_point) == ",";
}

#define REQUIRE_GERMAN_LOCALE()                                                         \
    if (!GermanLocaleActive()) {                                                        \
        GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed or LC_ALL is not set " \
                        "to it; install it (locales) to run these tests";               \
    }

TEST(GermanLocale, IsReallyActive) {
    REQUIRE_GERMAN_LOCALE();
    // What the program must not rely on: the C library now reads and writes commas.
    EXPECT_EQ(std::atof("1.25"), 1.0);
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", 0.5);
    EXPECT_STREQ(text, "0,50");
}

TEST(GermanLocale, AtofCReadsThePoint) {
    REQUIRE_GERMAN_LOCALE();
    EXPECT_EQ(AtofC("1.25"), 1.25);
    EXPECT_EQ(AtofC("  2.5 Cent"), 2.5);
    EXPECT_EQ(AtofC("1,25"), 1.0);
    EXPECT_EQ(AtofC(""), 0.0);
    EXPECT_EQ(AtofC("abc"), 0.0);
}

using LocaleMeterTest = MeterTest;

TEST_F(LocaleMeterTest, RatesReadUnchanged) {
    REQUIRE_GERMAN_LOCALE();
    const std::vector<double> values = {1.0, 1.25, 1.5, 1.75, 2.0, 2.25, 2.5, 2.75, 3.0};
    for (int i = 0; i < 9; ++i) {
        SetRate(4, i);
        EXPECT_EQ(g_currentRate, values[static_cast<std::size_t>(i)]) << "entry " << i;
    }
}

TEST_F(LocaleMeterTest, AmountsPrintUnchanged) {
    REQUIRE_GERMAN_LOCALE();
    win.Paint();
    SetRate(1, 1);
    SetRate(2, 8);
    Start(1);
    Start(2);
    SetCounters(1, 0, 9, 59);
    SetCounters(2, 23, 59, 59);
    SecondSteps(1);
    EXPECT_EQ(Time(1), "00:10:00");
    EXPECT_EQ(Amount(1), Euro("0.13"));
    EXPECT_EQ(Time(2), "24:00:00");
    EXPECT_EQ(Amount(2), Euro("43.20"));

    char text[25];
    FormatAmount(0.125, text, sizeof text);
    EXPECT_EQ(std::string(text), Euro("0.13"));
}

}  // namespace
}  // namespace velmora::testing

int main(int argc, char** argv) {
    // As the Qt application does on start-up.
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
