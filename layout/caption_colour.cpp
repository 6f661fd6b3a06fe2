#include "layout/caption_colour.h"

#include <cmath>

namespace layout {

namespace {

double linear(std::uint8_t channel)
{
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(rules::Rgb colour)
{
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green)
            + 0.0722 * linear(colour.blue);
}

double contrastRatio(rules::Rgb first, rules::Rgb second)
{
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::fmax(a, b) + 0.05) / (std::fmin(a, b) + 0.05);
}

rules::Rgb captionColourOn(rules::Rgb background)
{
    constexpr rules::Rgb Black{0, 0, 0};
    return contrastRatio(background, Black) >= contrastRatio(background, rules::colour::White)
            ? Black
            : rules::colour::White;
}

} // namespace layout
