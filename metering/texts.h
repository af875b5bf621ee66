// The texts of a second step: running time and amount owed.
#pragma once

#include <cstddef>

#include "metering/stations.h"

namespace velmora {

// "hh:mm:ss" with at least two digits each; returns the length the text needs.
std::size_t FormatTime(const StationState& s, char* out, std::size_t size);

// The number with two decimals by the program's own rule: the exact value of a is first
// rounded half up to 17 significant digits, that decimal then half up to two places.
// Locale-independent; at least one digit before the point. Returns the needed length
// (like snprintf: the text is cut to size - 1 characters when it does not fit).
std::size_t FormatAmountNumber(double a, char* out, std::size_t size);

// FormatAmountNumber, a blank and the Euro sign (byte 0x80 of Windows-1252).
std::size_t FormatAmount(double a, char* out, std::size_t size);

// The C library's atof in the "C" locale, whatever locale the process runs in:
// leading blanks skipped, the longest numeric prefix, 0 when there is none.
double AtofC(const char* text);

}  // namespace velmora
