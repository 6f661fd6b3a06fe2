#pragma once

#include <cmath>

namespace layout {

inline constexpr double TwipsPerInch = 1440.0;

// A rectangle in whole pixels: left and top edge, width and height.
struct PixelRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(PixelRect, PixelRect) = default;
};

// Twips to pixels at a density in dots per inch: 15 twips a pixel at 96 dpi.
[[nodiscard]] inline int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / TwipsPerInch));
}

// Edges are rounded, not sizes, so controls that overlap by one pixel at 96 dpi
// keep sharing their border line at every density.
[[nodiscard]] inline PixelRect twipsRect(int left, int top, int width, int height, double dpi)
{
    const int x = twipsToPixels(left, dpi);
    const int y = twipsToPixels(top, dpi);
    return {x, y, twipsToPixels(left + width, dpi) - x, twipsToPixels(top + height, dpi) - y};
}

} // namespace layout
