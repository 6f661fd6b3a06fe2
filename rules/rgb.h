#pragma once

#include <cstdint>

namespace rules {

// A 24-bit colour as the window shows it.
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};

namespace colour {
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Yellow{255, 255, 0};
inline constexpr Rgb Green{0, 255, 0};
inline constexpr Rgb Cyan{0, 255, 255};
inline constexpr Rgb Magenta{255, 0, 255};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb Amber{255, 191, 0};
inline constexpr Rgb Orange{255, 127, 0};
inline constexpr Rgb Vermilion{255, 63, 0};
} // namespace colour

} // namespace rules
