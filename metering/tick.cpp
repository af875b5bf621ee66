#include <cstdint>

#include "clock/clock.h"
#include "metering/metering.h"
#include "metering/stations.h"
#include "metering/texts.h"
#include "platform/dialog.h"
#include "resources/resource_ids.h"

namespace velmora {
namespace {

constexpr int kTicksPerSecondStep = 10;

}  // namespace

void OnRateChanged(platform::Dialog& dlg, int n) {
    // Room for nine characters and the terminator.
    char text[10];
    dlg.GetDlgItemText(Controls(n).rate, text, sizeof text);
    for (int i = 0; i < 5 && text[i] != '\0'; ++i) {
        if (text[i] == ',') {
            text[i] = '.';
        }
    }
    g_currentRate = AtofC(text);
    if (!g_suppressFocus) {
        dlg.GotoDlgCtrl(IDC_START);
    }
}

void OnTimer(platform::Dialog& dlg) {
    ++g_tickCount;
    const platform::KeyState keys = dlg.GetKeyState();
    for (int n = 2; n <= kStationCount; ++n) {
        if (keys.IsDown(Controls(n).key)) {
            OnSelectStation(dlg, n);
        }
    }
    if (g_tickCount < kTicksPerSecondStep) {
        return;
    }
    g_tickCount = 0;
    RefreshClock(dlg);
    for (int n = 1; n <= kStationCount; ++n) {
        if (Station(n).running) {
            AdvanceStation(dlg, n);
        }
    }
}

void AdvanceStation(platform::Dialog& dlg, int n) {
    StationState& s = Station(n);
    const StationControls& c = Controls(n);

    // Priced at the rate its own list shows now; the operator's focus stays where it is.
    g_suppressFocus = true;
    OnRateChanged(dlg, n);
    g_suppressFocus = false;

    if (++s.seconds == 60) {
        s.seconds = 0;
        ++s.minutes;
    }
    if (s.minutes == 60) {
        s.minutes = 0;
        ++s.hours;
    }

    // Both texts are built in this one buffer: no allocation per station.
    char text[25];
    FormatTime(s, text, sizeof text);
    dlg.SetDlgItemText(c.time, text);

    // Only completed minutes are charged; the product first, then the factor 0.01.
    const std::int64_t minutes = std::int64_t{s.hours} * 60 + s.minutes;
    const double amount = (static_cast<double>(minutes) * g_currentRate) * 0.01;
    FormatAmount(amount, text, sizeof text);
    dlg.SetDlgItemText(c.amount, text);
}

}  // namespace velmora
