#include "rules/narration.h"

#include "rules/controls.h"
#include "rules/conversions.h"
#include "rules/game.h"
#include "rules/window_operations.h"

#include <array>
#include <exception>
#include <optional>
#include <string_view>

namespace rules {

namespace {

// One, two or three groups of a size, as a player would say them; index 0 is "one".
constexpr std::array<std::array<std::string_view, 3>, 5> GroupNames{{
        {"a pair", "two pairs", "three pairs"},
        {"three of a kind", "two triples", ""},
        {"four of a kind", "", ""},
        {"five of a kind", "", ""},
        {"six of a kind", "", ""},
}};

// The faces a player's dice show, or nothing while they show no roll ("#").
std::optional<std::array<int, DiceCount>> shownFaces(const WindowOperations &window, int player)
{
    std::array<int, DiceCount> faces{};
    for (int die = 0; die < DiceCount; ++die) {
        const std::string text = window.caption({name::Die, (player - 1) * DiceCount + die + 1});
        if (text.size() != 1 || text[0] < '1' || text[0] > '6')
            return std::nullopt;
        faces[static_cast<std::size_t>(die)] = text[0] - '0';
    }
    return faces;
}

std::string toRoll(const WindowOperations &window, int player)
{
    const double played = conversions::toNumber(window.caption({name::NumTurns, 0}));
    return "Player " + std::to_string(player) + " to roll, round "
            + conversions::numberText(played + 1) + " of " + std::to_string(GameLength) + ".";
}

} // namespace

std::string describeGroups(const std::array<int, 6> &faces)
{
    std::array<int, 7> perFace{};
    for (const int face : faces)
        ++perFace[static_cast<std::size_t>(face)];
    std::array<int, 7> perSize{};
    for (const int count : perFace)
        ++perSize[static_cast<std::size_t>(count)];
    std::string text;
    for (int size = DiceCount; size >= 2; --size) {
        const int groups = perSize[static_cast<std::size_t>(size)];
        if (groups == 0)
            continue;
        text += (text.empty() ? "" : " and ");
        text += GroupNames[static_cast<std::size_t>(size - 2)]
                          [static_cast<std::size_t>(groups - 1)];
    }
    return text.empty() ? "a straight" : text;
}

namespace {

std::string narrate(const WindowOperations &window, int player)
{
    const auto faces = shownFaces(window, player);
    if (!faces)
        return toRoll(window, 1);
    std::string text = "Player " + std::to_string(player) + " rolled";
    for (const int face : *faces)
        text += " " + std::to_string(face);
    const std::string gain = window.caption({name::Gain, player});
    text += ": " + describeGroups(*faces) + ", " + gain + (gain == "1" ? " point" : " points")
            + ", score " + window.caption({name::Score, player}) + ". ";
    return text + toRoll(window, player == 1 ? 2 : 1);
}

} // namespace

std::optional<std::string> turnNarration(const WindowOperations &window, int player) noexcept
{
    try {
        return narrate(window, player);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

} // namespace rules
