// The tick must not allocate: counts every operator new made while ticks run, with ten
// stations running and the fake backend not recording.
#include <cstddef>
#include <cstdlib>
#include <new>

#include "support/meter_fixture.h"

namespace {

bool g_counting = false;
long g_allocations = 0;

void* Allocate(std::size_t size) {
    if (g_counting) {
        ++g_allocations;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace velmora::testing {
namespace {

using AllocTest = MeterTest;

TEST_F(AllocTest, ThousandTicksWithTenRunningStationsAllocateNothing) {
    backend.recording = false;
    win.Paint();
    for (int n = 1; n <= kStationCount; ++n) {
        SetRate(n, n % 9);
        Start(n);
    }

    g_allocations = 0;
    g_counting = true;
    for (int i = 0; i < 1000; ++i) {
        // A key held now and then: selections happen inside the counted ticks too.
        backend.keys.Set(platform::VK_F2 + i % 9, i % 7 == 0);
        win.Tick();
    }
    g_counting = false;

    EXPECT_EQ(g_allocations, 0);
    EXPECT_EQ(Time(1), "00:01:40");
    EXPECT_EQ(Amount(9), Euro("0.01"));
    EXPECT_EQ(Amount(8), Euro("0.03"));
    EXPECT_FALSE(win.Text(IDC_DATE).empty());
}

}  // namespace
}  // namespace velmora::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
