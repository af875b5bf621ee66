#include "metering/metering.h"
#include "metering/stations.h"
#include "platform/dialog.h"

namespace velmora {
namespace {

// A command acts on a station only when its selector carries the mark and it is the
// selected one; every selector is asked, every time.
template <typename Effect>
void ForEachTarget(platform::Dialog& dlg, Effect effect) {
    for (int n = 1; n <= kStationCount; ++n) {
        if (dlg.IsDlgButtonChecked(Controls(n).selector) && g_selectedStation == n) {
            effect(n);
        }
    }
}

}  // namespace

void OnStart(platform::Dialog& dlg) {
    if (g_selectedStation == 0) {
        dlg.MessageBox(kSelectFirstMessage, platform::MB_ICONERROR);
        return;
    }
    ForEachTarget(dlg, [](int n) { Station(n).running = true; });
}

void OnStop(platform::Dialog& dlg) {
    ForEachTarget(dlg, [](int n) { Station(n).running = false; });
}

void OnReset(platform::Dialog& dlg) {
    ForEachTarget(dlg, [&dlg](int n) {
        StationState& s = Station(n);
        s.running = false;
        s.hours = 0;
        s.minutes = 0;
        s.seconds = 0;
        dlg.SetDlgItemText(Controls(n).time, kInactiveText);
        dlg.SetDlgItemText(Controls(n).amount, "");
    });
}

}  // namespace velmora
