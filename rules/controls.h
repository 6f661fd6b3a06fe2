#pragma once

#include <string>
#include <string_view>

namespace rules {

// Picks a control of the window: a single control has index 0, a member of a
// control array its Index (Die 1 to 12, the per-player arrays 1 and 2).
struct Control
{
    std::string_view name;
    int index = 0;

    friend constexpr bool operator==(Control, Control) = default;
};

[[nodiscard]] std::string describe(Control control);

// The one spelling of every control name of the window.
namespace name {
inline constexpr std::string_view Die = "Die";
inline constexpr std::string_view Points = "Points";
inline constexpr std::string_view Score = "Score";
inline constexpr std::string_view Gain = "Gain";
inline constexpr std::string_view Pair = "Pair";
inline constexpr std::string_view Triple = "Triple";
inline constexpr std::string_view Quad = "Quad";
inline constexpr std::string_view Quint = "Quint";
inline constexpr std::string_view Tornel = "Tornel";
inline constexpr std::string_view Roll = "Roll";
inline constexpr std::string_view Turn = "Turn";
inline constexpr std::string_view NumTurns = "NumTurns";
inline constexpr std::string_view Instructions = "Instructions";
inline constexpr std::string_view L2 = "L2";
inline constexpr std::string_view L3 = "L3";
inline constexpr std::string_view L4 = "L4";
inline constexpr std::string_view L5 = "L5";
inline constexpr std::string_view L6 = "L6";
} // namespace name

// The title of every message box the game shows.
inline constexpr std::string_view ApplicationTitle = "Tornel (2-Player)";

} // namespace rules
