// The main window: routing table and handlers. The metering itself lives in metering/.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/backend.h"
#include "platform/dialog.h"

namespace velmora {

inline constexpr int TICK_TIMER_ID = 1;
inline constexpr int kTickMilliseconds = 100;
inline constexpr int kTrayIconId = 1;
inline constexpr unsigned WM_TRAYNOTIFY = 0x8064;  // a private message: WM_APP + 100
inline constexpr std::string_view kTrayTip = "Velmora";

// Where the icon of a minimised window goes: centred, truncating toward zero.
struct Point {
    int x;
    int y;
    friend bool operator==(const Point&, const Point&) = default;
};
Point IconPosition(const platform::ClientRect& client, platform::Size icon);

// The arguments of the two display fonts.
platform::FontRequest ClockFontRequest();
platform::FontRequest DateFontRequest();

class CMeterDlg : public platform::Dialog {
  public:
    explicit CMeterDlg(platform::Backend& backend, platform::Dialog* parent = nullptr);

    // Handlers, reached through the routing table.
    void OnSelectStation(int n);
    bool OnHelpInfo();
    void OnStart();
    void OnStop();
    void OnReset();
    void OnRateChanged(int n);
    void OnTimer(std::uintptr_t timerId);
    void OnPaint();
    platform::IconHandle OnQueryDragIcon();
    void OnSysCommand(unsigned command, std::intptr_t lParam);
    void OnTrayMinimize();
    std::intptr_t OnTrayNotify(std::uintptr_t wParam, std::intptr_t lParam);
    void OnInfo();

    platform::IconHandle Icon() const { return m_hIcon; }

  protected:
    bool OnInitDialog() override;
    std::intptr_t WindowProc(const platform::Message& message) override;

  private:
    platform::IconHandle m_hIcon;
    platform::Font m_clockFont;
    platform::Font m_dateFont;
};

}  // namespace velmora
