// The wall clock and the date line with the German weekday.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {
class Dialog;
}

namespace velmora {

// Calendar time in seconds since 1970-01-01 00:00 UTC, read at the last refresh.
extern std::int64_t g_now;

// Where the current calendar time comes from; tests put in their own.
using TimeSource = std::int64_t (*)();
std::int64_t SystemTime();
void SetTimeSource(TimeSource source);  // nullptr restores the system clock

// " hh:mm:ss " and "Weekday, dd.mm.yyyy" for a calendar time in the local time zone.
// Returns false, and the failure texts, when the conversion fails.
bool FormatClock(std::int64_t now, char* clock, std::size_t clockSize, char* date,
                 std::size_t dateSize);

// Reads the clock afresh and writes the clock field, then the date field.
void RefreshClock(platform::Dialog& dlg);

}  // namespace velmora
