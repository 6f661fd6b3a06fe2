#pragma once

#include "rules/rgb.h"

namespace layout {

// Relative luminance of a colour on a screen, 0 for black to 1 for white.
[[nodiscard]] double relativeLuminance(rules::Rgb colour);

// The contrast between two colours, from 1 (none) to 21 (black on white).
[[nodiscard]] double contrastRatio(rules::Rgb first, rules::Rgb second);

// The colour of the caption and border of a label that has a background of its
// own: black or white, whichever stands out more from it. For every colour the
// game paints this is black, whatever the desktop's colour scheme.
[[nodiscard]] rules::Rgb captionColourOn(rules::Rgb background);

} // namespace layout
