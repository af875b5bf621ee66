// Start, Stop and Reset, the rate read and the tick engine. Each acts on the main window
// through the station control map; none of them needs a window system of its own.
#pragma once

#include <string_view>

namespace platform {
class Dialog;
}

namespace velmora {

// The one message of the program (Windows-1252).
inline constexpr std::string_view kSelectFirstMessage = "Bitte erst Rechner anw\xE4hlen!";
inline constexpr std::string_view kInactiveText = "inaktiv";

// Start sets the selected station running; before any selection it asks for one.
void OnStart(platform::Dialog& dlg);
// Stop halts the selected station and leaves its texts standing.
void OnStop(platform::Dialog& dlg);
// Reset halts and clears the selected station; its rate list keeps its choice.
void OnReset(platform::Dialog& dlg);

// Reads station n's rate list into g_currentRate, then focuses Start unless suppressed.
void OnRateChanged(platform::Dialog& dlg, int n);

// One 100 ms tick: polls F2 to F10, and every tenth tick refreshes the clock and
// advances every running station by one second.
void OnTimer(platform::Dialog& dlg);

// One second more for station n, re-priced at the rate its own list shows now.
void AdvanceStation(platform::Dialog& dlg, int n);

}  // namespace velmora
