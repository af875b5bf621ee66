#include "metering/stations.h"

#include "clock/clock.h"
#include "platform/dialog.h"
#include "platform/keys.h"
#include "resources/resource_ids.h"

namespace velmora {

std::array<StationState, kStationCount> g_stations{};
int g_selectedStation = 0;
double g_currentRate = 0.0;
bool g_suppressFocus = false;
int g_tickCount = 0;

namespace {

constexpr std::array<StationControls, kStationCount> kControls = {{
    {IDC_SEL1, platform::VK_F1 + 0, IDC_TIME1, IDC_RATE1, IDC_AMOUNT1},
    {IDC_SEL2, platform::VK_F1 + 1, IDC_TIME2, IDC_RATE2, IDC_AMOUNT2},
    {IDC_SEL3, platform::VK_F1 + 2, IDC_TIME3, IDC_RATE3, IDC_AMOUNT3},
    {IDC_SEL4, platform::VK_F1 + 3, IDC_TIME4, IDC_RATE4, IDC_AMOUNT4},
    {IDC_SEL5, platform::VK_F1 + 4, IDC_TIME5, IDC_RATE5, IDC_AMOUNT5},
    {IDC_SEL6, platform::VK_F1 + 5, IDC_TIME6, IDC_RATE6, IDC_AMOUNT6},
    {IDC_SEL7, platform::VK_F1 + 6, IDC_TIME7, IDC_RATE7, IDC_AMOUNT7},
    {IDC_SEL8, platform::VK_F1 + 7, IDC_TIME8, IDC_RATE8, IDC_AMOUNT8},
    {IDC_SEL9, platform::VK_F1 + 8, IDC_TIME9, IDC_RATE9, IDC_AMOUNT9},
    {IDC_SEL10, platform::VK_F1 + 9, IDC_TIME10, IDC_RATE10, IDC_AMOUNT10},
}};

}  // namespace

const StationControls& Controls(int station) {
    return kControls[static_cast<std::size_t>(station - 1)];
}

StationState& Station(int station) {
    return g_stations[static_cast<std::size_t>(station - 1)];
}

void ResetMeteringState() {
    g_stations = {};
    g_selectedStation = 0;
    g_currentRate = 0.0;
    g_suppressFocus = false;
    g_tickCount = 0;
    g_now = SystemTime();
}

void OnSelectStation(platform::Dialog& dlg, int n) {
    g_selectedStation = n;
    // All ten, every time: the marks are ours alone to set.
    for (int s = 1; s <= kStationCount; ++s) {
        dlg.CheckDlgButton(Controls(s).selector, s == n);
    }
}

bool OnHelpInfo(platform::Dialog& dlg) {
    if (dlg.GetKeyState().IsDown(platform::VK_F1)) {
        OnSelectStation(dlg, 1);
    }
    return false;
}

}  // namespace velmora
