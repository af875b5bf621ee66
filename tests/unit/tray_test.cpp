// Hiding into the notification area and coming back; metering goes on meanwhile.
#include <cstdint>
#include <vector>

#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::Msg;
using platform::fake::Op;
using platform::fake::Visibility;

using TrayTest = MeterTest;

TEST_F(TrayTest, TrayButtonAddsTheIconThenHidesTheWindow) {
    backend.log.clear();
    win.Click(IDC_TRAY);

    ASSERT_EQ(backend.tray.size(), 1U);
    const auto& icon = backend.tray.front();
    EXPECT_EQ(icon.owner, &win);
    EXPECT_EQ(icon.id, 1);
    EXPECT_EQ(icon.callbackMessage, 0x8064U);
    EXPECT_EQ(icon.tip, "Velmora");
    EXPECT_EQ(icon.icon, backend.LoadIcon(IDI_APP, 16, 16));
    EXPECT_EQ(win.visibility, Visibility::Hidden);
    ASSERT_EQ(backend.log.size(), 2U);
    EXPECT_EQ(backend.log[0].op, Op::AddTrayIcon);
    EXPECT_EQ(backend.log[1].op, Op::Show);
}

TEST_F(TrayTest, WithoutANotificationAreaTheWindowStaysShown) {
    backend.trayAvailable = false;
    win.Click(IDC_TRAY);
    EXPECT_EQ(win.visibility, Visibility::Shown);
    EXPECT_TRUE(backend.tray.empty());
}

TEST_F(TrayTest, OnlyALeftOrRightButtonReleaseRestores) {
    const std::vector<std::intptr_t> restoring = {platform::WM_LBUTTONUP, platform::WM_RBUTTONUP};
    const std::vector<std::intptr_t> ignored = {
        platform::WM_MOUSEMOVE,   platform::WM_LBUTTONDOWN,   platform::WM_LBUTTONDBLCLK,
        platform::WM_RBUTTONDOWN, platform::WM_RBUTTONDBLCLK, platform::WM_MBUTTONDOWN,
        platform::WM_MBUTTONUP,   platform::WM_MBUTTONDBLCLK,
    };
    for (const auto event : ignored) {
        win.Click(IDC_TRAY);
        backend.log.clear();
        EXPECT_EQ(backend.TrayEvent(event), 0) << event;
        EXPECT_EQ(win.visibility, Visibility::Hidden) << event;
        EXPECT_EQ(backend.tray.size(), 1U) << event;
        EXPECT_TRUE(backend.log.empty()) << event;
        backend.TrayEvent(platform::WM_LBUTTONUP);
    }
    for (const auto event : restoring) {
        win.Click(IDC_TRAY);
        EXPECT_NE(backend.TrayEvent(event), 0) << event;
        EXPECT_EQ(win.visibility, Visibility::Shown) << event;
        EXPECT_TRUE(backend.tray.empty()) << event;
    }
}

TEST_F(TrayTest, StaleRestoreAfterTheIconIsGoneOnlyShowsTheWindow) {
    win.Click(IDC_TRAY);
    backend.TrayEvent(platform::WM_LBUTTONUP);
    const std::uintptr_t id = 1;
    EXPECT_EQ(win.Send({Msg::User, 0, static_cast<int>(WM_TRAYNOTIFY), id, platform::WM_LBUTTONUP}),
              0);
    EXPECT_EQ(win.visibility, Visibility::Shown);
}

TEST_F(TrayTest, HidingAndRestoringChangeNoMeterAndNoSecondIsLost) {
    win.Paint();
    Start(2);
    Start(5);
    SecondSteps(10);

    win.Click(IDC_TRAY);
    SecondSteps(70);
    EXPECT_EQ(Time(5), "00:01:20");  // written while nobody sees it
    backend.TrayEvent(platform::WM_RBUTTONUP);

    EXPECT_EQ(Marked(), 5);
    EXPECT_TRUE(Station(2).running);
    EXPECT_TRUE(Station(5).running);
    EXPECT_EQ(Time(2), "00:01:20");
    EXPECT_EQ(Amount(2), Euro("0.01"));
}

TEST_F(TrayTest, SecondHideAddsTheIconAnewWithTheSameId) {
    win.Click(IDC_TRAY);
    backend.TrayEvent(platform::WM_LBUTTONUP);
    win.Click(IDC_TRAY);

    ASSERT_EQ(backend.tray.size(), 1U);
    EXPECT_EQ(backend.tray.front().id, 1);
    EXPECT_EQ(RecordedIds(Op::AddTrayIcon), (std::vector<int>{1, 1}));
    EXPECT_EQ(win.visibility, Visibility::Hidden);
}

TEST_F(TrayTest, F5WhileHiddenSelectsStation5) {
    win.Click(IDC_TRAY);
    backend.keys.Set(Controls(5).key, true);
    win.Tick();
    backend.keys = {};
    backend.TrayEvent(platform::WM_LBUTTONUP);
    EXPECT_EQ(g_selectedStation, 5);
    EXPECT_EQ(Marked(), 5);
}

}  // namespace
}  // namespace velmora::testing
