#include "rules/saved_game.h"

#include "rules/error.h"
#include "rules/game.h"
#include "rules/recording_random.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>

namespace rules {

namespace {

constexpr std::size_t DigitsPerDraw = 16;
// The turn that closes round 50 ends the game, so a kept game stops before it.
constexpr std::size_t MostTurns = 2 * GameLength - 1;

std::optional<double> readDraw(std::string_view digits)
{
    std::uint64_t bits = 0;
    const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    if (status != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    const double draw = std::bit_cast<double>(bits);
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
    std::string text(draws.size() * DigitsPerDraw, '0');
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const auto bits = std::bit_cast<std::uint64_t>(draws[i]);
        char digits[DigitsPerDraw];
        const auto written = std::to_chars(std::begin(digits), std::end(digits), bits, 16).ptr;
        const auto width = static_cast<std::size_t>(written - std::begin(digits));
        text.replace(i * DigitsPerDraw + DigitsPerDraw - width, width, digits, width);
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
