// The main window as a whole: initialisation, system commands, the end commands and the
// info box.
#include <string>
#include <vector>

#include "app/meter_app.h"
#include "support/meter_fixture.h"

namespace velmora::testing {
namespace {

using platform::Msg;
using platform::fake::FakeBackend;
using platform::fake::FakeWindow;
using platform::fake::Op;

const std::vector<std::string> kEntries = {"1,00", "1,25", "1,50", "1,75", "2,00",
                                           "2,25", "2,50", "2,75", "3,00"};
const std::string kInfoEntry =
    "&Info \xFC"
    "ber Orbanet...";

using WindowTest = MeterTest;

TEST_F(WindowTest, InitialisationFillsTheListsThenMenuThenIconsThenTimer) {
    const auto& log = backend.log;
    ASSERT_EQ(log.size(), 90U + 5U);
    std::size_t i = 0;
    for (int n = 1; n <= kStationCount; ++n) {
        for (const auto& entry : kEntries) {
            EXPECT_EQ(log[i].op, Op::AddString);
            EXPECT_EQ(log[i].id, Controls(n).rate);
            EXPECT_EQ(log[i].text, entry);
            ++i;
        }
    }
    EXPECT_EQ(log[i].op, Op::AppendSystemMenu);  // the separator
    EXPECT_EQ(log[i].id, 0);
    EXPECT_EQ(log[i].text, "");
    ++i;
    EXPECT_EQ(log[i].op, Op::AppendSystemMenu);
    EXPECT_EQ(log[i].id, 0x10);
    EXPECT_EQ(log[i].text, kInfoEntry);
    ++i;
    EXPECT_EQ(log[i].op, Op::SetIcon);
    EXPECT_EQ(log[i].value2, 1);  // big first
    ++i;
    EXPECT_EQ(log[i].op, Op::SetIcon);
    EXPECT_EQ(log[i].value2, 0);
    ++i;
    EXPECT_EQ(log[i].op, Op::SetTimer);
    EXPECT_EQ(log[i].id, TICK_TIMER_ID);
    EXPECT_EQ(log[i].value, 100);

    EXPECT_EQ(win.bigIcon, dlg.Icon());
    EXPECT_EQ(win.smallIcon, dlg.Icon());
    for (int n = 1; n <= kStationCount; ++n) {
        EXPECT_EQ(win.Control(Controls(n).rate).entries, kEntries);
        EXPECT_EQ(win.Control(Controls(n).rate).cursel, -1);  // nothing selected yet
    }
    EXPECT_EQ(win.focus, platform::IDCANCEL);
    EXPECT_FALSE(win.ended);
}

TEST(WindowInit, NoMenuEntryWithoutItsStringOrWithoutASystemMenu) {
    using Configure = void (*)(FakeBackend&);
    const std::vector<Configure> cases = {
        [](FakeBackend& b) { b.missingStrings.insert(IDS_INFO_MENU); },
        [](FakeBackend& b) { b.systemMenus = false; },
    };
    for (const auto configure : cases) {
        ResetMeteringState();
        FakeBackend backend{&resources::Module()};
        configure(backend);
        CMeterDlg dlg{backend};
        FakeWindow& win = backend.Open(dlg);

        EXPECT_TRUE(win.systemMenu.empty());
        EXPECT_TRUE(backend.Recorded(Op::AppendSystemMenu).empty());
        EXPECT_EQ(win.timers.at(TICK_TIMER_ID), 100);  // the rest goes on
        EXPECT_EQ(win.bigIcon, dlg.Icon());
        EXPECT_FALSE(win.ended);

        win.Click(IDC_INFO);  // the button still opens the box
        EXPECT_EQ(backend.modalRuns, std::vector<int>{IDD_INFO});
    }
}

TEST(WindowInit, FailingListEntryEndsTheRunWithMinusOneAfterTheRestOfInitialisation) {
    ResetMeteringState();
    FakeBackend backend{&resources::Module()};
    backend.failAddStrings = 1;
    CMeterDlg dlg{backend};

    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(backend.Recorded(Op::AddString).size(), 90U);
    EXPECT_EQ(backend.Recorded(Op::SetTimer).size(), 1U);
    EXPECT_EQ(backend.Recorded(Op::AppendSystemMenu).size(), 2U);
}

TEST(WindowInit, ApplicationRunsTheMainWindowOnceAndEnds) {
    ResetMeteringState();
    FakeBackend backend{&resources::Module()};
    int result = 0;
    backend.onModal = [&](FakeWindow& w) {
        w.Send({Msg::Command, platform::IDCANCEL, platform::BN_CLICKED});
        result = w.result;
    };
    CMeterApp app;
    EXPECT_EQ(app.Run(backend), 0);
    EXPECT_EQ(backend.modalRuns, std::vector<int>{IDD_METER});
    EXPECT_EQ(result, platform::IDCANCEL);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(WindowTest, SystemCommandsReachTheInfoBoxOrTheirDefault) {
    struct Case {
        unsigned command;
        bool info;
        int ends;  // 0: the window stays
        platform::fake::Visibility visibility;
    };
    using V = platform::fake::Visibility;
    std::vector<Case> table;
    for (unsigned c = 0x10; c <= 0x1F; ++c) {
        table.push_back({c, true, 0, V::Shown});
    }
    table.insert(table.end(), {
                                  {0x0F, false, 0, V::Shown},
                                  {0x20, false, 0, V::Shown},
                                  {0x00, false, 0, V::Shown},
                                  {platform::SC_MOVE, false, 0, V::Shown},
                                  {platform::SC_SIZE, false, 0, V::Shown},
                                  {platform::SC_MINIMIZE, false, 0, V::Minimized},
                                  {platform::SC_MAXIMIZE, false, 0, V::Maximized},
                                  {platform::SC_RESTORE, false, 0, V::Shown},
                                  {platform::SC_CLOSE, false, platform::IDCANCEL, V::Shown},
                                  {platform::SC_CLOSE | 0x2, false, platform::IDCANCEL, V::Shown},
                              });
    for (const auto& c : table) {
        SCOPED_TRACE(::testing::Message() << "command 0x" << std::hex << c.command);
        backend.modalRuns.clear();
        win.ended = false;
        win.result = 0;
        win.visibility = V::Shown;

        win.Send({Msg::SysCommand, 0, 0, c.command, 0});

        EXPECT_EQ(backend.modalRuns, c.info ? std::vector<int>{IDD_INFO} : std::vector<int>{});
        EXPECT_EQ(win.ended, c.ends != 0);
        EXPECT_EQ(win.result, c.ends);
        EXPECT_EQ(win.visibility, c.visibility);
    }
}

TEST_F(WindowTest, EndCommandsEndTheWindowAtOnceWithoutAsking) {
    struct Case {
        platform::Message message;
        int result;
    };
    const std::vector<Case> table = {
        {{Msg::Command, platform::IDCANCEL, platform::BN_CLICKED}, platform::IDCANCEL},
        {{Msg::Command, platform::IDOK, platform::BN_CLICKED}, platform::IDOK},
        {{Msg::Close}, platform::IDCANCEL},
    };
    Start(3);
    for (const auto& c : table) {
        win.ended = false;
        win.result = 0;
        win.Send(c.message);
        EXPECT_TRUE(win.ended);
        EXPECT_EQ(win.result, c.result);
    }
    EXPECT_TRUE(backend.messageBoxes.empty());
    EXPECT_TRUE(backend.modalRuns.empty());
}

TEST_F(WindowTest, InfoButtonAndMenuEntryOpenTheSameBoxOverTheMainWindow) {
    std::vector<int> ownerEnabled;
    std::vector<const FakeWindow*> owners;
    backend.onModal = [&](FakeWindow& box) {
        owners.push_back(box.owner);
        ownerEnabled.push_back(win.enabled ? 1 : 0);
        EXPECT_EQ(box.dialog.Template().id, IDD_INFO);
    };

    win.Click(IDC_INFO);
    win.Send({Msg::SysCommand, 0, 0, IDM_INFO, 0});
    win.Click(IDC_INFO);

    EXPECT_EQ(backend.modalRuns, (std::vector<int>{IDD_INFO, IDD_INFO, IDD_INFO}));
    EXPECT_EQ(owners, (std::vector<const FakeWindow*>{&win, &win, &win}));
    EXPECT_EQ(ownerEnabled, (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(win.enabled);
    EXPECT_FALSE(win.ended);
}

TEST_F(WindowTest, MetersKeepCountingWhileTheInfoBoxIsOpen) {
    win.Paint();
    Start(1);
    backend.onModal = [&](FakeWindow&) {
        backend.keys.Set(Controls(3).key, true);
        Ticks(20);
        backend.keys = {};
    };

    win.Click(IDC_INFO);

    EXPECT_EQ(Time(1), "00:00:02");
    EXPECT_EQ(Marked(), 3);
    EXPECT_FALSE(win.Text(IDC_CLOCK).empty());
    EXPECT_TRUE(Station(1).running);
}

TEST_F(WindowTest, InfoBoxChangesNothing) {
    win.Paint();
    Start(4);
    SetRate(4, 3);
    SecondSteps(3);
    win.focus = IDC_INFO;
    const Snapshot before = Take();
    const int ticks = g_tickCount;
    const double rate = g_currentRate;
    backend.log.clear();

    for (int i = 0; i < 3; ++i) {
        win.Click(IDC_INFO);  // closed with OK
        backend.onModal = [](FakeWindow& box) {
            box.Send({Msg::Command, platform::IDCANCEL, platform::BN_CLICKED});
        };
    }

    EXPECT_EQ(Take(), before);
    EXPECT_EQ(g_tickCount, ticks);
    EXPECT_EQ(g_currentRate, rate);
    for (const auto& r : backend.log) {
        EXPECT_TRUE(r.op == Op::RunModal || r.op == Op::End) << static_cast<int>(r.op);
    }
}

}  // namespace
}  // namespace velmora::testing
