#include "rules/conversions.h"

#include "rules/error.h"

#include <charconv>
#include <cmath>
#include <limits>

#if !defined(__cpp_lib_to_chars)
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#endif

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

#if defined(__cpp_lib_to_chars)

// Reads a well-formed unsigned number correctly rounded; false when a double cannot
// hold it (too large, or too small to be told from 0).
bool readDouble(std::string_view number, double &value)
{
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    return result.ec != std::errc::result_out_of_range;
}

std::string shortestText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

#else

// A standard library without floating-point <charconv> (the WebAssembly build's):
// the C library's correctly rounded strtod and printf give the same numbers and the
// same shortest texts, whatever the user's locale.

// strtod reads the decimal point of the user's locale: the caption's full stop is
// handed over as that.
double localeStrtod(std::string text)
{
    const char point = *std::localeconv()->decimal_point;
    for (char &c : text)
        c = c == '.' ? point : c;
    return std::strtod(text.c_str(), nullptr);
}

bool hasNonZeroDigit(std::string_view number)
{
    for (const char c : number) {
        if (c == 'e' || c == 'E')
            return false;
        if (c >= '1' && c <= '9')
            return true;
    }
    return false;
}

bool readDouble(std::string_view number, double &value)
{
    const double read = localeStrtod(std::string(number));
    // Out of range as <charconv> has it: rounded to infinity, or to 0 from a number that is not 0.
    if (std::isinf(read) || (read == 0.0 && hasNonZeroDigit(number)))
        return false;
    value = read;
    return true;
}

// A positive decimal `digits` x 10^`exponent`, with no trailing zero in `digits`.
struct Decimal
{
    std::uint64_t digits = 0;
    int exponent = 0;
};

bool readsBackAs(Decimal decimal, double value)
{
    return localeStrtod(std::to_string(decimal.digits) + "e" + std::to_string(decimal.exponent))
            == value;
}

// The decimal of `precision` significant digits that reads back as the positive `value`,
// or none. printf gives the nearest one; where the doubles' spacing changes at a power of
// two, the next one up or down can read back although the nearest does not.
std::optional<Decimal> decimalOf(double value, int precision)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, value);
    std::string mantissa;
    const char *at = buffer;
    for (; *at != 'e'; ++at) {
        if (isDigit(*at)) // the locale's decimal point is left out
            mantissa += *at;
    }
    const Decimal nearest{std::stoull(mantissa), std::atoi(at + 1) - (precision - 1)};
    for (const std::uint64_t digits : {nearest.digits, nearest.digits + 1, nearest.digits - 1}) {
        const Decimal candidate{digits, nearest.exponent};
        if (digits != 0 && readsBackAs(candidate, value))
            return candidate;
    }
    return std::nullopt;
}

// The fewest significant digits that read back as the positive `value` (17 always do).
Decimal shortestDecimal(double value)
{
    constexpr int MaxDigits = 17;
    std::optional<Decimal> found;
    for (int precision = 1; !found && precision < MaxDigits; ++precision)
        found = decimalOf(value, precision);
    Decimal decimal = found ? *found : decimalOf(value, MaxDigits).value_or(Decimal{});
    while (decimal.digits != 0 && decimal.digits % 10 == 0) {
        decimal.digits /= 10;
        ++decimal.exponent;
    }
    return decimal;
}

// A whole number is written with all its digits, exactly as the double holds it.
std::string fixedText(double magnitude, const std::string &digits, int pointAfter)
{
    if (pointAfter >= static_cast<int>(digits.size())) {
        char buffer[320];
        std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
        return buffer;
    }
    if (pointAfter > 0)
        return digits.substr(0, static_cast<std::size_t>(pointAfter)) + "."
                + digits.substr(static_cast<std::size_t>(pointAfter));
    return "0." + std::string(static_cast<std::size_t>(-pointAfter), '0') + digits;
}

std::string scientificText(const std::string &digits, int exponent)
{
    const std::string fraction = digits.size() > 1 ? "." + digits.substr(1) : std::string();
    const std::string power = std::to_string(std::abs(exponent));
    return digits.substr(0, 1) + fraction + (exponent < 0 ? "e-" : "e+")
            + (power.size() < 2 ? "0" : "") + power;
}

// As <charconv> writes a double with no format given: the shortest digits that read
// back as the value, in fixed or scientific notation, whichever is shorter (fixed on a tie).
std::string shortestText(double value)
{
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value))
        return sign + "inf";
    if (std::isnan(value))
        return sign + "nan";
    const Decimal decimal = shortestDecimal(std::fabs(value));
    const std::string digits = std::to_string(decimal.digits);
    const int pointAfter = static_cast<int>(digits.size()) + decimal.exponent;
    const std::string fixed = fixedText(std::fabs(value), digits, pointAfter);
    const std::string scientific = scientificText(digits, pointAfter - 1);
    return sign + (scientific.size() < fixed.size() ? scientific : fixed);
}

#endif

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
    if (!readDouble(number, value))
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
    return shortestText(value);
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
