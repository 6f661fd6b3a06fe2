#include "rules/saved_game.h"

#include "rules/error.h"
#include "rules/game.h"
#include "rules/recording_random.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

namespace rules {

namespace {

constexpr std::size_t DigitsPerDraw = 16;
// The turn that closes round 50 ends the game, so a kept game stops before it.
constexpr std::size_t MostTurns = 2 * GameLength - 1;

static_assert(sizeof(double) == sizeof(std::uint64_t));

// A double's bits as one number, and back: copied, since not every library has std::bit_cast.
std::uint64_t bitsOf(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double fromBits(std::uint64_t bits)
{
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

constexpr std::string_view HexDigits = "0123456789abcdef";

std::optional<double> readDraw(std::string_view digits)
{
    std::uint64_t bits = 0;
    for (const char digit : digits) {
        const std::size_t value = HexDigits.find(digit);
        if (value == std::string_view::npos)
            return std::nullopt;
        bits = (bits << 4U) | value;
    }
    const double draw = fromBits(bits);
    if (!(draw >= 0.0 && draw < 1.0))
        return std::nullopt;
    return draw;
}

// The draws of whole turns, no more than a game short of its end can have made.
std::optional<std::vector<double>> readDraws(std::string_view text)
{
    const std::size_t perTurn = DigitsPerDraw * DiceCount;
    if (text.size() % perTurn != 0 || text.size() / perTurn > MostTurns)
        return std::nullopt;
    std::vector<double> draws;
    for (std::size_t at = 0; at < text.size(); at += DigitsPerDraw) {
        const std::optional<double> draw = readDraw(text.substr(at, DigitsPerDraw));
        if (!draw)
            return std::nullopt;
        draws.push_back(*draw);
    }
    return draws;
}

} // namespace

std::string savedGame(const std::vector<double> &draws)
{
    std::string text;
    text.reserve(draws.size() * DigitsPerDraw);
    for (const double draw : draws) {
        const std::uint64_t bits = bitsOf(draw);
        for (std::size_t digit = DigitsPerDraw; digit-- > 0;)
            text += HexDigits[(bits >> (4 * digit)) & 15U];
    }
    return text;
}

bool restoreGame(std::string_view text, Game &game, RecordingRandom &random)
{
    std::optional<std::vector<double>> draws = readDraws(text);
    if (!draws)
        return false;
    const std::size_t turns = draws->size() / DiceCount;
    random.replay(std::move(*draws));
    try {
        for (std::size_t turn = 0; turn < turns; ++turn)
            game.Roll_Click(static_cast<std::int16_t>(1 + turn % 2));
    } catch (const GameError &) {
        return false;
    }
    return true;
}

} // namespace rules
