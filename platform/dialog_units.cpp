#include "platform/dialog_units.h"

#include <cstdint>

namespace platform {

int MulDiv(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -c : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (product < 0 ? -product : product) + half;
    const std::int64_t q = magnitude / (c < 0 ? -c : c);
    return static_cast<int>(negative ? -q : q);
}

BaseUnits BaseUnitsFromMetrics(int alphabetWidth, int cellHeight) {
    // The average over 26 letters, halved with rounding: the width of 52 letters / 52.
    return {(alphabetWidth / 26 + 1) / 2, cellHeight};
}

PixelRect DluToPixels(const DluRect& r, BaseUnits u) {
    return {MulDiv(r.x, u.cx, 4), MulDiv(r.y, u.cy, 8), MulDiv(r.cx, u.cx, 4),
            MulDiv(r.cy, u.cy, 8)};
}

}  // namespace platform
