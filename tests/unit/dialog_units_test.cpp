// Dialog units to pixels, as the window system converts template geometry.
#include <gtest/gtest.h>

#include <climits>

#include "platform/dialog_units.h"

namespace platform {
namespace {

TEST(DialogUnitsTest, MulDivRoundsHalfAwayFromZero) {
    const struct {
        int a, b, c, result;
    } cases[] = {
        {10, 3, 4, 8},      // 7.5
        {9, 3, 4, 7},       // 6.75
        {198, 13, 8, 322},  // 321.75
        {5, 1, 2, 3},       // 2.5
        {-5, 1, 2, -3},     // -2.5
        {5, -1, 2, -3},     // -2.5
        {5, 1, -2, -3},     // -2.5
        {-5, -1, -2, -3},   // -2.5
        {7, 1, 3, 2},       // 2.33
        {-7, 1, 3, -2},     // -2.33
        {0, 9, 4, 0},
        {INT_MAX, 2, 2, INT_MAX},  // the product does not overflow
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MIN, 1, 1, INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << " * " << c.b << " / " << c.c;
    }
}

TEST(DialogUnitsTest, BaseUnitsAreTheRoundedAverageLetterWidthAndTheCellHeight) {
    const struct {
        int alphabetWidth, cellHeight;
        BaseUnits units;
    } cases[] = {
        {286, 13, {6, 13}},  // 11 per pair of letters: 5.5 rounds up
        {311, 13, {6, 13}},  // 11.96 truncates to 11 before rounding
        {312, 12, {6, 12}},  // 12: exactly 6
        {338, 15, {7, 15}},  // 13: 6.5 rounds up
        {260, 16, {5, 16}},  // 10
        {259, 16, {5, 16}},  // 9.96 truncates to 9, 4.5 rounds up
        {0, 0, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BaseUnitsFromMetrics(c.alphabetWidth, c.cellHeight), c.units)
            << c.alphabetWidth << " / " << c.cellHeight;
    }
}

TEST(DialogUnitsTest, RectanglesScaleByQuartersAndEighths) {
    const struct {
        DluRect dlu;
        BaseUnits units;
        PixelRect pixels;
    } cases[] = {
        // The classic dialog font at 96 dpi.
        {{308, 198, 50, 29}, {6, 13}, {462, 322, 75, 47}},
        {{0, 0, 380, 292}, {6, 13}, {0, 0, 570, 475}},
        {{217, 186, 70, 85}, {6, 13}, {326, 302, 105, 138}},
        {{1, 1, 1, 1}, {6, 13}, {2, 2, 2, 2}},  // 1.5 and 1.625
        {{0, 0, 447, 131}, {6, 12}, {0, 0, 671, 197}},
        {{309, 14, 50, 14}, {7, 15}, {541, 26, 88, 26}},
        {{0, 0, 0, 0}, {6, 13}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DluToPixels(c.dlu, c.units), c.pixels)
            << c.dlu.x << "," << c.dlu.y << " " << c.dlu.cx << "x" << c.dlu.cy;
    }
}

}  // namespace
}  // namespace platform
