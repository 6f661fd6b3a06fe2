#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How numbers travel between captions and arithmetic. Every failure raises a
// rules::GameError; leadingNumber() alone never fails.
namespace rules::conversions {

// The whole text as one decimal number: optional blanks around it, an optional
// sign, digits with an optional full stop and exponent. Anything else is a type
// mismatch; a number beyond the range of a double is an overflow.
[[nodiscard]] double toNumber(std::string_view text);

// The number the text begins with, after leading blanks; 0 when it begins with none.
[[nodiscard]] double leadingNumber(std::string_view text) noexcept;

// Shortest decimal text: "0", "17", "-3", no blank, no grouping, no point for a whole number.
[[nodiscard]] std::string numberText(double value);

// As numberText(), but a number of 0 or more takes one leading blank in place of the sign.
[[nodiscard]] std::string signedNumberText(double value);

// Checked double arithmetic: an overflow, invalid operation or division by zero
// raises a floating-point error.
[[nodiscard]] double add(double left, double right);
[[nodiscard]] double multiply(double left, double right);

// Rounds to nearest, ties to even; outside -32768..32767 (or not a number) is an overflow.
[[nodiscard]] std::int16_t toInt16(double value);

} // namespace rules::conversions
