#pragma once

class QFont;

namespace qt {

// The large face of the dice, scores, categories and buttons: 18 points, normal weight.
[[nodiscard]] QFont largeFont();
// The window's own small font, used by the rules text and the hidden sums.
[[nodiscard]] QFont windowFont();

} // namespace qt
