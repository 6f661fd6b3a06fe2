#include "rules/conversions.h"

#include "rules/error.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace rules::conversions {

namespace {

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Length of the decimal number at the start of text (sign, digits, point,
// exponent), or 0 when the text does not begin with one.
std::size_t numberLength(std::string_view text)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    const std::size_t integerEnd = skipDigits(text, at);
    std::size_t end = integerEnd;
    bool hasDigits = integerEnd > at;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits)
        return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    return end;
}

// Whether a number that a double cannot hold is too large rather than too small:
// its decimal exponent (position of the first significant digit) is positive.
bool isHuge(std::string_view unsignedNumber)
{
    long long exponent = 0;
    bool seenSignificant = false;
    bool afterPoint = false;
    std::size_t at = 0;
    for (; at < unsignedNumber.size() && unsignedNumber[at] != 'e' && unsignedNumber[at] != 'E';
            ++at) {
        const char c = unsignedNumber[at];
        if (c == '.') {
            afterPoint = true;
        } else if (c != '0' || seenSignificant) {
            seenSignificant = true;
            if (!afterPoint)
                ++exponent;
        } else if (afterPoint) {
            --exponent;
        }
    }
    if (at + 1 < unsignedNumber.size()) {
        const char *first = unsignedNumber.data() + at + 1;
        const bool negativeExponent = *first == '-';
        first += *first == '+' ? 1 : 0;
        long long written = 0;
        const auto result = std::from_chars(
                first, unsignedNumber.data() + unsignedNumber.size(), written);
        if (result.ec == std::errc::result_out_of_range)
            return !negativeExponent;
        // The sum saturates: an exponent at the edge of its range still says which way.
        constexpr long long Largest = std::numeric_limits<long long>::max();
        constexpr long long Smallest = std::numeric_limits<long long>::min();
        if (written > 0 && exponent > Largest - written)
            return true;
        if (written < 0 && exponent < Smallest - written)
            return false;
        exponent += written;
    }
    return exponent > 0;
}

// Reads a number already known to be well formed, independent of the
// user's locale. Beyond the range of a double it is infinite; below it, 0.
double parse(std::string_view number)
{
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-')
        number.remove_prefix(1);
    // The game's own captions are short whole numbers, which a double holds exactly.
    constexpr std::size_t ExactDigits = 15;
    if (number.size() <= ExactDigits && skipDigits(number, 0) == number.size()) {
        double whole = 0.0;
        for (const char digit : number)
            whole = whole * 10.0 + (digit - '0');
        return negative ? -whole : whole;
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = isHuge(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

} // namespace

double toNumber(std::string_view text)
{
    const std::string_view number = trimBlanks(text);
    if (number.empty() || numberLength(number) != number.size())
        throw GameError(ErrorKind::TypeMismatch, quoted(text) + " is not a number");
    const double value = parse(number);
    if (std::isinf(value))
        throw GameError(ErrorKind::Overflow, quoted(text) + " is too large for a number");
    return value;
}

double leadingNumber(std::string_view text) noexcept
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    const std::size_t length = numberLength(text);
    if (length == 0)
        return 0.0;
    const double value = parse(text.substr(0, length));
    return std::isfinite(value) ? value : 0.0;
}

std::string numberText(double value)
{
    // Whole numbers that a double holds exactly are written digit for digit.
    constexpr double ExactWholeLimit = 9007199254740992.0; // 2^53
    if (value == 0.0)
        return "0";
    if (std::trunc(value) == value && std::fabs(value) < ExactWholeLimit)
        return std::to_string(static_cast<long long>(value));
    char buffer[64];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

std::string signedNumberText(double value)
{
    const std::string text = numberText(value);
    return text.front() == '-' ? text : " " + text;
}

// With the default rounding to nearest, an addition or multiplication overflows
// exactly when its result is infinite and is invalid exactly when it is not a
// number; testing the result is as exact as reading the status flags, and far cheaper.
double add(double left, double right)
{
    const double sum = left + right;
    if (!std::isfinite(sum))
        throw GameError(ErrorKind::FloatingPoint, "an addition gave no finite number");
    return sum;
}

double multiply(double left, double right)
{
    const double product = left * right;
    if (!std::isfinite(product))
        throw GameError(ErrorKind::FloatingPoint, "a multiplication gave no finite number");
    return product;
}

std::int16_t toInt16(double value)
{
    // nearbyint follows the default rounding mode: to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min()
                && rounded <= std::numeric_limits<std::int16_t>::max()))
        throw GameError(ErrorKind::Overflow,
                numberText(value) + " does not fit into a whole number from -32768 to 32767");
    return static_cast<std::int16_t>(rounded);
}

} // namespace rules::conversions
