// The station table, the process-wide metering values and the selection of a station.
#pragma once

#include <array>
#include <cstdint>

namespace platform {
class Dialog;
}

namespace velmora {

inline constexpr int kStationCount = 10;

// The meter of one station. The record, not the screen, is the meter.
struct StationState {
    std::int32_t seconds = 0;  // 0 to 59
    std::int32_t minutes = 0;  // 0 to 59
    std::int32_t hours = 0;    // no upper limit of its own
    bool running = false;
};

// Indexed by station number minus one.
extern std::array<StationState, kStationCount> g_stations;
extern int g_selectedStation;  // 0 until the first selection, then 1 to 10 for good
extern double g_currentRate;   // cents per minute; meaningful only right after a rate read
extern bool g_suppressFocus;   // set only around the tick's own rate reads
extern int g_tickCount;        // ticks since the last second step, 0 to 9

// The controls of one station's row, and the key that selects it.
struct StationControls {
    int selector;
    int key;
    int time;
    int rate;
    int amount;
};

// Control numbers do not run in station order: always go through this map.
const StationControls& Controls(int station);
StationState& Station(int station);

// Start values of every metering value, as at process start (for a fresh test).
void ResetMeteringState();

// Makes station n the selected one: exactly its selector carries the mark.
void OnSelectStation(platform::Dialog& dlg, int n);

// The help request (F1 in the active main window): selects station 1 while F1 is down.
bool OnHelpInfo(platform::Dialog& dlg);

}  // namespace velmora
