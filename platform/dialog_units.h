// Dialog units to pixels, the way the window system converts template geometry.
#pragma once

#include "platform/dialog_template.h"

namespace platform {

// Horizontal and vertical base units of a dialog font, in pixels.
struct BaseUnits {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const BaseUnits&, const BaseUnits&) = default;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// a * b / c rounded half away from zero, computed without overflow.
int MulDiv(int a, int b, int c);

// Base units from the width of the 52 letters A-Z a-z and the font's cell height.
BaseUnits BaseUnitsFromMetrics(int alphabetWidth, int cellHeight);

// x and width in quarters of cx, y and height in eighths of cy.
PixelRect DluToPixels(const DluRect& r, BaseUnits units);

}  // namespace platform
