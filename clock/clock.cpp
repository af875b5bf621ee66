#include "clock/clock.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "platform/dialog.h"
#include "resources/resource_ids.h"

namespace velmora {

std::int64_t g_now = SystemTime();

namespace {

TimeSource g_timeSource = &SystemTime;

constexpr std::array<const char*, 7> kWeekdays = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                                  "Donnerstag", "Freitag", "Samstag"};

// Shown before the comma when the local time is unknown.
constexpr const char* kUnknownWeekday = "--";

}  // namespace

std::int64_t SystemTime() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

void SetTimeSource(TimeSource source) {
    g_timeSource = source != nullptr ? source : &SystemTime;
}

bool FormatClock(std::int64_t now, char* clock, std::size_t clockSize, char* date,
                 std::size_t dateSize) {
    std::tm local{};
    const auto t = static_cast<std::time_t>(now);
    const bool ok = static_cast<std::int64_t>(t) == now && localtime_r(&t, &local) != nullptr;
    int hour = -1, minute = -1, second = -1, day = 0, month = 0, year = 0;
    const char* weekday = kUnknownWeekday;
    if (ok) {
        hour = local.tm_hour;
        minute = local.tm_min;
        second = local.tm_sec;
        day = local.tm_mday;
        month = local.tm_mon + 1;
        year = local.tm_year + 1900;
        if (local.tm_wday >= 0 && local.tm_wday < 7) {
            weekday = kWeekdays[static_cast<std::size_t>(local.tm_wday)];
        }
    }
    std::snprintf(clock, clockSize, " %02d:%02d:%02d ", hour, minute, second);
    std::snprintf(date, dateSize, "%s, %02d.%02d.%04d", weekday, day, month, year);
    return ok;
}

void RefreshClock(platform::Dialog& dlg) {
    g_now = g_timeSource();
    // Room for the longest weekday and a year of any int width.
    char clock[40];
    char date[48];
    FormatClock(g_now, clock, sizeof clock, date, sizeof date);
    dlg.SetDlgItemText(IDC_CLOCK, clock);
    dlg.SetDlgItemText(IDC_DATE, date);
}

}  // namespace velmora
