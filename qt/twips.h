#pragma once

#include "layout/twips.h"

#include <QRect>

namespace qt {

// A control's rectangle in twips as device-independent pixels at the screen's logical dpi.
[[nodiscard]] inline QRect twipsRect(int left, int top, int width, int height, double dpi)
{
    const layout::PixelRect r = layout::twipsRect(left, top, width, height, dpi);
    return {r.x, r.y, r.width, r.height};
}

} // namespace qt
