#pragma once

#include <QRect>
#include <QtMath>

namespace app {

inline constexpr double TwipsPerInch = 1440.0;

// Twips to device-independent pixels at the screen's logical dpi (15 twips a
// pixel at 96 dpi). Edges are rounded, not sizes, so controls that overlap by
// one pixel at 96 dpi keep sharing their border line at every density.
[[nodiscard]] inline int twipsToPixels(int twips, qreal dpi)
{
    return qRound(twips * dpi / TwipsPerInch);
}

[[nodiscard]] inline QRect twipsRect(int left, int top, int width, int height, qreal dpi)
{
    const int x = twipsToPixels(left, dpi);
    const int y = twipsToPixels(top, dpi);
    return {x, y, twipsToPixels(left + width, dpi) - x, twipsToPixels(top + height, dpi) - y};
}

} // namespace app
