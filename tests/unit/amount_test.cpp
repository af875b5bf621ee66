// The time and amount texts of a second step. The amount has its own rounding rule, so
// it is checked against an exact decimal computation done here with digit strings.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "metering/texts.h"
#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

// Powers of five as decimal digits, least significant first.
const std::string& PowerOfFive(int k) {
    static std::vector<std::string> powers = {"1"};
    while (static_cast<int>(powers.size()) <= k) {
        std::string next;
        int carry = 0;
        for (const char c : powers.back()) {
            const int v = (c - '0') * 5 + carry;
            next.push_back(static_cast<char>('0' + v % 10));
            carry = v / 10;
        }
        if (carry != 0) {
            next.push_back(static_cast<char>('0' + carry));
        }
        powers.push_back(std::move(next));
    }
    return powers[static_cast<std::size_t>(k)];
}

// The exact value of a non-negative finite double as a digit string: the value is
// digits[0..count) * 10^(point - count), most significant digit first.
struct Exact {
    char digits[1200];
    int count = 0;
    int point = 0;  // digits before the decimal point; may be <= 0 or > count

    // The digit of 10^p.
    char Digit(int p) const {
        const int i = point - 1 - p;
        return i >= 0 && i < count ? digits[i] : '0';
    }
    int Top() const { return point > 1 ? point - 1 : 0; }  // highest power to write
    std::string Text() const {
        std::string t;
        for (int p = Top(); p >= 0; --p) {
            t += Digit(p);
        }
        std::string fraction;
        for (int p = -1; p >= point - count; --p) {
            fraction += Digit(p);
        }
        while (!fraction.empty() && fraction.back() == '0') {
            fraction.pop_back();
        }
        return fraction.empty() ? t : t + "." + fraction;
    }
};

// Multiplies the digits (least significant first, n of them) by factor in place.
int Times(char* reversed, int n, std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < n; ++i) {
        const std::uint64_t v = static_cast<std::uint64_t>(reversed[i] - '0') * factor + carry;
        reversed[i] = static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    for (; carry != 0; carry /= 10) {
        reversed[n++] = static_cast<char>('0' + carry % 10);
    }
    return n;
}

// a = mantissa * 2^e; for e < 0 that is mantissa * 5^-e / 10^-e.
void ExactDecimal(double a, Exact& out) {
    int e = 0;
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(a, &e), 53));
    e -= 53;
    char reversed[1200];
    int n = 0;
    if (e < 0) {
        const std::string& five = PowerOfFive(-e);
        five.copy(reversed, five.size());
        n = Times(reversed, static_cast<int>(five.size()), mantissa);
    } else {
        reversed[n++] = '1';
        n = Times(reversed, n, mantissa);
        for (int i = 0; i < e; ++i) {
            n = Times(reversed, n, 2);
        }
    }
    while (n > 1 && reversed[n - 1] == '0') {
        --n;
    }
    out.count = n;
    out.point = n - (e < 0 ? -e : 0);
    for (int i = 0; i < n; ++i) {
        out.digits[i] = reversed[n - 1 - i];
    }
}

Exact ExactDecimal(double a) {
    Exact e;
    ExactDecimal(a, e);
    return e;
}

// Adds one to digits[0..n); true on a carry out of the first digit.
bool Increment(char* digits, int n) {
    for (int i = n - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// The rule spelled out: half up to 17 significant digits, then half up to two places.
std::string ExpectedAmount(Exact x) {
    if (x.count > 17 && x.digits[0] != '0') {
        const bool up = x.digits[17] >= '5';
        x.count = 17;
        if (up && Increment(x.digits, x.count)) {
            x.digits[0] = '1';  // 99..9 became 100..0: one digit more before the point
            ++x.point;
        }
    }
    // Whole cents with one digit of room for a carry, then the first dropped digit.
    char cents[1200];
    int n = 0;
    cents[n++] = '0';
    for (int p = x.Top(); p >= -2; --p) {
        cents[n++] = x.Digit(p);
    }
    if (x.Digit(-3) >= '5') {
        Increment(cents, n);
    }
    int lead = 0;
    while (lead < n - 3 && cents[lead] == '0') {
        ++lead;
    }
    return std::string(cents + lead, cents + n - 2) + "." + std::string(cents + n - 2, cents + n);
}

std::string ExpectedAmount(double a) {
    return ExpectedAmount(ExactDecimal(a));
}

std::string Format(double a) {
    char text[25];
    FormatAmount(a, text, sizeof text);
    return text;
}

double Priced(int minutes, double rate) {
    return (static_cast<double>(minutes) * rate) * 0.01;
}

TEST(ExactDecimal, ReadsTheExactValueOfADouble) {
    EXPECT_EQ(ExactDecimal(0.125).Text(), "0.125");
    EXPECT_EQ(ExactDecimal(0.0).Text(), "0");
    EXPECT_EQ(ExactDecimal(3.0).Text(), "3");
    EXPECT_EQ(ExactDecimal(0.1).Text(),
              "0.1000000000000000055511151231257827021181583404541015625");
    EXPECT_EQ(ExpectedAmount(0.125), "0.13");
    // 1.07499999999999995559... reads 1.0750000000000000 at 17 digits and is raised;
    // 1.00499999999999989342... reads 1.0049999999999999 and is lowered.
    EXPECT_EQ(ExpectedAmount(1.075), "1.08");
    EXPECT_EQ(ExpectedAmount(1.005), "1.00");
    EXPECT_EQ(ExpectedAmount(0.0049999999), "0.00");
    EXPECT_EQ(ExpectedAmount(0.0), "0.00");
}

struct AmountRow {
    int minutes;
    int entry;  // index in the rate list
    double rate;
    const char* exact;  // leading digits of the exact value of a
    const char* text;
};

class AmountTableTest : public MeterTest {};

TEST_F(AmountTableTest, EveryRowThroughASecondStepAndDirectly) {
    const std::vector<AmountRow> table = {
        {0, 3, 1.75, "0", "0.00"},
        {1, 0, 1.0, "0.01000000000000000020", "0.01"},
        {1, 8, 3.0, "0.02999999999999999888", "0.03"},
        {3, 2, 1.5, "0.04499999999999999833", "0.04"},
        {6, 1, 1.25, "0.07499999999999999722", "0.07"},
        {7, 2, 1.5, "0.10499999999999999611", "0.11"},
        {10, 1, 1.25, "0.125", "0.13"},
        {14, 1, 1.25, "0.17500000000000001665", "0.18"},
        {61, 1, 1.25, "0.76250000000000006661", "0.76"},
        {86, 1, 1.25, "1.07499999999999995559", "1.08"},
        {1440, 8, 3.0, "43.20000000000000284217", "43.20"},
    };
    win.Paint();
    Start(1);
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << row.minutes << " minutes at " << row.rate);
        const double a = Priced(row.minutes, row.rate);
        EXPECT_EQ(ExactDecimal(a).Text().rfind(row.exact, 0), 0U) << ExactDecimal(a).Text();
        EXPECT_EQ(Format(a), Euro(row.text));

        SetRate(1, row.entry);
        SetCounters(1, row.minutes / 60, row.minutes % 60, 0);
        SecondSteps(1);
        EXPECT_EQ(Amount(1), Euro(row.text));
    }
}

TEST(AmountRule, MatchesTheExactComputationForEveryRateAndMinuteCount) {
    const std::vector<double> rates = {1.0, 1.25, 1.5, 1.75, 2.0, 2.25, 2.5, 2.75, 3.0};
    int mismatches = 0;
    for (const double rate : rates) {
        for (int m = 0; m <= 100000 && mismatches < 10; ++m) {
            const double a = Priced(m, rate);
            const std::string expected = Euro(ExpectedAmount(a));
            const std::string actual = Format(a);
            if (actual != expected) {
                ++mismatches;
                ADD_FAILURE() << m << " minutes at " << rate << ": " << actual << ", expected "
                              << expected << " (exact " << ExactDecimal(a).Text() << ")";
            }
        }
    }
}

TEST(AmountRule, LargestAmountsKeepTheirUnit) {
    for (const double a : {Priced(2147483647, 3.0), 3865470566.37, 1e15, 0.005, 0.0049999999}) {
        EXPECT_EQ(Format(a), Euro(ExpectedAmount(a))) << a;
    }
}

struct TimeRow {
    int h, m, s;
    const char* before;
    const char* after;
    const char* amountBefore;
    const char* amountAfter;
};

class TimeTextTest : public MeterTest {};

TEST_F(TimeTextTest, CarriesIntoMinutesAndHoursAndTheAmountChangesAtTheMinute) {
    const std::vector<TimeRow> table = {
        {0, 0, 0, "00:00:01", "00:00:02", "0.00", "0.00"},
        {0, 0, 58, "00:00:59", "00:01:00", "0.00", "0.01"},
        {0, 59, 58, "00:59:59", "01:00:00", "0.59", "0.60"},
        {99, 59, 58, "99:59:59", "100:00:00", "59.99", "60.00"},
        {2147483647, 58, 58, "2147483647:58:59", "2147483647:59:00", "1288490188.78",
         "1288490188.79"},
    };
    win.Paint();
    Start(2);
    for (const auto& row : table) {
        SetCounters(2, row.h, row.m, row.s);
        SecondSteps(1);
        EXPECT_EQ(Time(2), row.before);
        EXPECT_EQ(Amount(2), Euro(row.amountBefore));
        SecondSteps(1);
        EXPECT_EQ(Time(2), row.after);
        EXPECT_EQ(Amount(2), Euro(row.amountAfter));
        EXPECT_LT(Station(2).seconds, 60);
        EXPECT_LT(Station(2).minutes, 60);
    }
}

}  // namespace
}  // namespace velmora::testing
