#include "ui/meter_dlg.h"

#include <array>

#include "metering/metering.h"
#include "metering/stations.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "ui/info_dlg.h"

namespace velmora {

using platform::Message;
using platform::Msg;

namespace {

platform::FontRequest DisplayFont(int height) {
    platform::FontRequest f;
    f.height = height;
    f.weight = 700;
    f.charSet = 1;
    f.outPrecision = 1;
    f.clipPrecision = 1;
    f.face = "Arial";
    return f;
}

// One table from message, control and notification to handler.
struct Route {
    Msg kind;
    int id;    // control or command of a Command message
    int code;  // notification of a Command, number of a User message
    std::intptr_t (*handler)(CMeterDlg&, const Message&);
};

template <int N>
constexpr Route Select(int selector) {
    return {Msg::Command, selector, platform::BN_CLICKED, [](CMeterDlg& d, const Message&) {
                d.OnSelectStation(N);
                return std::intptr_t{0};
            }};
}

template <int N>
constexpr Route Rate(int list) {
    return {Msg::Command, list, platform::CBN_SELCHANGE, [](CMeterDlg& d, const Message&) {
                d.OnRateChanged(N);
                return std::intptr_t{0};
            }};
}

template <void (CMeterDlg::*Handler)()>
constexpr Route Click(int button) {
    return {Msg::Command, button, platform::BN_CLICKED, [](CMeterDlg& d, const Message&) {
                (d.*Handler)();
                return std::intptr_t{0};
            }};
}

constexpr std::array kRoutes = {
    Route{Msg::SysCommand, 0, 0,
          [](CMeterDlg& d, const Message& m) {
              d.OnSysCommand(static_cast<unsigned>(m.wParam), m.lParam);
              return std::intptr_t{0};
          }},
    Route{Msg::Paint, 0, 0,
          [](CMeterDlg& d, const Message&) {
              d.OnPaint();
              return std::intptr_t{0};
          }},
    Route{Msg::QueryDragIcon, 0, 0,
          [](CMeterDlg& d, const Message&) {
              return reinterpret_cast<std::intptr_t>(d.OnQueryDragIcon());
          }},
    Route{Msg::Timer, 0, 0,
          [](CMeterDlg& d, const Message& m) {
              d.OnTimer(m.wParam);
              return std::intptr_t{0};
          }},
    Route{Msg::User, 0, static_cast<int>(WM_TRAYNOTIFY),
          [](CMeterDlg& d, const Message& m) { return d.OnTrayNotify(m.wParam, m.lParam); }},
    Route{Msg::Help, 0, 0,
          [](CMeterDlg& d, const Message&) { return std::intptr_t{d.OnHelpInfo()}; }},
    Select<1>(IDC_SEL1),
    Select<2>(IDC_SEL2),
    Select<3>(IDC_SEL3),
    Select<4>(IDC_SEL4),
    Select<5>(IDC_SEL5),
    Select<6>(IDC_SEL6),
    Select<7>(IDC_SEL7),
    Select<8>(IDC_SEL8),
    Select<9>(IDC_SEL9),
    Select<10>(IDC_SEL10),
    Click<&CMeterDlg::OnStart>(IDC_START),
    Click<&CMeterDlg::OnStop>(IDC_STOP),
    Click<&CMeterDlg::OnReset>(IDC_RESET),
    Click<&CMeterDlg::OnTrayMinimize>(IDC_TRAY),
    Click<&CMeterDlg::OnInfo>(IDC_INFO),
    Rate<1>(IDC_RATE1),
    Rate<2>(IDC_RATE2),
    Rate<3>(IDC_RATE3),
    Rate<4>(IDC_RATE4),
    Rate<5>(IDC_RATE5),
    Rate<6>(IDC_RATE6),
    Rate<7>(IDC_RATE7),
    Rate<8>(IDC_RATE8),
    Rate<9>(IDC_RATE9),
    Rate<10>(IDC_RATE10),
};

bool Matches(const Route& r, const Message& m) {
    if (r.kind != m.kind) {
        return false;
    }
    switch (m.kind) {
        case Msg::Command:
            return r.id == m.id && r.code == m.code;
        case Msg::User:
            return r.code == m.code;
        default:
            return true;
    }
}

}  // namespace

Point IconPosition(const platform::ClientRect& client, platform::Size icon) {
    return {(client.right - client.left - icon.cx + 1) / 2,
            (client.bottom - client.top - icon.cy + 1) / 2};
}

platform::FontRequest ClockFontRequest() {
    return DisplayFont(30);
}
platform::FontRequest DateFontRequest() {
    return DisplayFont(20);
}

CMeterDlg::CMeterDlg(platform::Backend& backend, platform::Dialog* parent)
    : Dialog(resources::MeterTemplate(), backend, parent),
      m_hIcon(backend.LoadIcon(IDI_APP, backend.IconSize().cx, backend.IconSize().cy)),
      m_clockFont(backend),
      m_dateFont(backend) {}

std::intptr_t CMeterDlg::WindowProc(const Message& message) {
    for (const Route& route : kRoutes) {
        if (Matches(route, message)) {
            return route.handler(*this, message);
        }
    }
    return Dialog::WindowProc(message);
}

bool CMeterDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    platform::Window* window = GetWindow();

    if (window->HasSystemMenu()) {
        char text[64];
        if (GetBackend().LoadString(IDS_INFO_MENU, text, sizeof text) > 0) {
            window->AppendSystemMenu(0, {});
            window->AppendSystemMenu(IDM_INFO, text);
        }
    }

    window->SetIcon(m_hIcon, true);
    window->SetIcon(m_hIcon, false);
    window->SetTimer(TICK_TIMER_ID, kTickMilliseconds);
    return true;
}

void CMeterDlg::OnSelectStation(int n) {
    velmora::OnSelectStation(*this, n);
}
bool CMeterDlg::OnHelpInfo() {
    return velmora::OnHelpInfo(*this);
}
void CMeterDlg::OnStart() {
    velmora::OnStart(*this);
}
void CMeterDlg::OnStop() {
    velmora::OnStop(*this);
}
void CMeterDlg::OnReset() {
    velmora::OnReset(*this);
}
void CMeterDlg::OnRateChanged(int n) {
    velmora::OnRateChanged(*this, n);
}
void CMeterDlg::OnTimer(std::uintptr_t /*timerId*/) {
    velmora::OnTimer(*this);
}

void CMeterDlg::OnPaint() {
    platform::Window& window = *GetWindow();
    if (window.IsIconic()) {
        window.BeginPaint();
        window.EraseIconBackground();
        const Point at = IconPosition(window.GetClientRect(), GetBackend().IconSize());
        window.DrawIcon(at.x, at.y, m_hIcon);
        window.EndPaint();
    } else {
        window.DefaultPaint();
    }

    // Until the first selection every paint shows the idle presentation.
    if (g_selectedStation == 0) {
        for (int n = 1; n <= kStationCount; ++n) {
            SetDlgItemText(Controls(n).time, kInactiveText);
        }
        for (int n = 1; n <= kStationCount; ++n) {
            SetCurSel(Controls(n).rate, 0);
        }
        for (int n = 1; n <= kStationCount; ++n) {
            OnRateChanged(n);
        }
    }

    // Created once, applied on every paint; a failed creation is tried again next time.
    if (m_clockFont.Empty()) {
        m_clockFont.Create(ClockFontRequest());
    }
    SetItemFont(IDC_CLOCK, m_clockFont.Handle(), true);
    if (m_dateFont.Empty()) {
        m_dateFont.Create(DateFontRequest());
    }
    SetItemFont(IDC_DATE, m_dateFont.Handle(), true);
}

platform::IconHandle CMeterDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CMeterDlg::OnSysCommand(unsigned command, std::intptr_t lParam) {
    if ((command & 0xFFF0U) == IDM_INFO) {
        OnInfo();
    } else {
        DefaultSysCommand(command, lParam);
    }
}

void CMeterDlg::OnTrayMinimize() {
    platform::Window& window = *GetWindow();
    const platform::IconHandle icon = GetBackend().LoadIcon(IDI_APP, 16, 16);
    // Without a notification area a hidden window would have no way back: stay shown.
    if (!GetBackend().AddTrayIcon(window, kTrayIconId, WM_TRAYNOTIFY, icon, kTrayTip)) {
        return;
    }
    window.Show(platform::ShowCommand::Hide);
}

std::intptr_t CMeterDlg::OnTrayNotify(std::uintptr_t /*wParam*/, std::intptr_t lParam) {
    if (lParam != platform::WM_LBUTTONUP && lParam != platform::WM_RBUTTONUP) {
        return 0;
    }
    platform::Window& window = *GetWindow();
    window.Show(platform::ShowCommand::Show);
    return GetBackend().DeleteTrayIcon(window, kTrayIconId) ? 1 : 0;
}

void CMeterDlg::OnInfo() {
    CInfoDlg info(GetBackend(), this);
    info.DoModal();
}

}  // namespace velmora
