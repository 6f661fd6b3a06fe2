// Checks the caption conversions against a reference written apart from them: the grammar as
// a POSIX regular expression, values from strtod (the process never leaves the "C" locale).
#include "rules/conversions.h"
#include "rules/error.h"

#include <regex.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace rules::conversions;

void require(bool holds, const char *what, const std::string &input)
{
    if (holds)
        return;
    std::fprintf(stderr, "%s, for the input \"%s\"\n", what, input.c_str());
    std::abort();
}

// Length of the longest number the text begins with: sign, digits with a point, exponent.
std::size_t numberPrefix(const std::string &text)
{
    static regex_t number = [] {
        regex_t compiled;
        regcomp(&compiled, "^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?", REG_EXTENDED);
        return compiled;
    }();
    regmatch_t match;
    return regexec(&number, text.c_str(), 1, &match, 0) == 0 ? static_cast<std::size_t>(match.rm_eo)
                                                             : 0;
}

// Whether a value read from text agrees with strtod; below the normal range it may read as 0.
bool agrees(double value, double reference)
{
    return value == reference || (std::fabs(reference) < DBL_MIN && value == 0.0);
}

void checkText(const std::string &input)
{
    const std::size_t first = std::min(input.find_first_not_of(" \t"), input.size());
    const std::size_t last = input.find_last_not_of(" \t");
    const std::string trimmed =
            input.substr(first, last == std::string::npos ? 0 : last + 1 - first);
    const std::string rest = input.substr(first);
    const std::size_t length = numberPrefix(rest);
    const double reference = length ? std::strtod(rest.substr(0, length).c_str(), nullptr) : 0.0;
    const bool whole = !trimmed.empty() && length == trimmed.size()
            && input.find('\0') == std::string::npos;
    try {
        const double value = toNumber(input);
        require(whole && std::isfinite(reference) && agrees(value, reference), "toNumber read",
                input);
    } catch (const rules::GameError &error) {
        const auto expected = !whole ? rules::ErrorKind::TypeMismatch : rules::ErrorKind::Overflow;
        require((!whole || std::isinf(reference)) && error.kind() == expected, "toNumber failed",
                input);
    }
    const double leading = leadingNumber(input);
    require(agrees(leading, std::isfinite(reference) ? reference : 0.0), "leadingNumber", input);
}

void checkValue(double value, const std::string &input)
{
    const double rounded = value - std::remainder(value, 1.0); // to nearest, ties to even
    try {
        const std::int16_t whole = toInt16(value);
        require(rounded >= -32768.0 && rounded <= 32767.0 && whole == rounded, "toInt16 gave",
                input);
    } catch (const rules::GameError &error) {
        require(!(rounded >= -32768.0 && rounded <= 32767.0)
                        && error.kind() == rules::ErrorKind::Overflow,
                "toInt16 failed", input);
    }
    if (!std::isfinite(value))
        return;
    const std::string text = numberText(value);
    require(numberPrefix(text) == text.size() && text[0] != '+' && toNumber(text) == value,
            "numberText does not read back", input);
    require((text[0] == '-') == (value < 0.0), "numberText sign", input);
    require(signedNumberText(value) == (value < 0.0 ? text : " " + text), "signedNumberText",
            input);
    if (std::trunc(value) == value && std::fabs(value) < 9007199254740992.0) {
        require(text.find_first_of(".eE") == std::string::npos, "a whole number with a point",
                input);
        return;
    }
    char shortest[64]; // with the fewest digits that read back to the same value
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(shortest, sizeof shortest, "%.*g", digits, value);
        if (std::strtod(shortest, nullptr) == value)
            break;
    }
    require(text.size() <= std::strlen(shortest), "numberText is longer than it needs", input);
}

} // namespace

// The input is a caption; its first 8 bytes are also taken as a double.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    checkText(input);
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        checkValue(value, input.substr(0, sizeof value));
    }
    return 0;
}
