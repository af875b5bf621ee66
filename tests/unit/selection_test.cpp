#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using SelectionTest = MeterTest;

TEST_F(SelectionTest, StartsWithNothingSelectedAndNoMark) {
    EXPECT_EQ(g_selectedStation, 0);
    EXPECT_EQ(Marked(), 0);
}

}  // namespace
}  // namespace velmora::testing
