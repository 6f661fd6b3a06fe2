#pragma once

#include <array>
#include <optional>
#include <string>

namespace rules {

class WindowOperations;

// What a player who cannot see the window hears with the Roll button that has
// just taken the focus, built from the captions the turn has just written:
// "Player 1 rolled 3 3 3 3 1 5: four of a kind, 108 points, score 240. Player 2 to roll, round 7
// of 50." In a freshly loaded window (the game has just started, or a game has just ended) it tells
// only who is to roll: "Player 1 to roll, round 1 of 50." Nothing when a caption it reads
// is not one the game writes: telling a turn never ends a game that the rules let go on.
[[nodiscard]] std::optional<std::string> turnNarration(const WindowOperations &window,
        int player) noexcept;

// The groups of equal dice among six faces, largest first, or the straight:
// "four of a kind and a pair", "three pairs", "a straight".
[[nodiscard]] std::string describeGroups(const std::array<int, 6> &faces);

} // namespace rules
