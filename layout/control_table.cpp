#include "layout/control_table.h"

#include "rules/error.h"

#include <algorithm>

namespace layout {

namespace {

using namespace rules;

// Two blanks after "108." belong to the text.
constexpr std::string_view InstructionsText =
        "This is the game of tornel, for two people. It is also a harder version! In the point "
        "values, they will be multiplied. For example, a 3-3-3-3 will be 36x3 points, or 108.  If "
        "you are very lucky you can get a 1-2-3-4-5-6 worth 100 points. Good luck! And also "
        "remember, this is for two players. You can always do it yourself for fun. :) The turn "
        "counter will finish the game when 50 turns are done.";

} // namespace

// clang-format off
const std::array<ControlSpec, ControlCount> ControlTable{{
        {{name::Die, 1}, ControlKind::Label, "#", 0, 0, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 1, die 1"},
        {{name::Die, 2}, ControlKind::Label, "#", 480, 0, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 1, die 2"},
        {{name::Die, 3}, ControlKind::Label, "#", 0, 480, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 1, die 3"},
        {{name::Die, 4}, ControlKind::Label, "#", 480, 480, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 1, die 4"},
        {{name::Die, 5}, ControlKind::Label, "#", 0, 960, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 1, die 5"},
        {{name::Die, 6}, ControlKind::Label, "#", 480, 960, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 1, die 6"},
        {{name::Die, 7}, ControlKind::Label, "#", 4320, 0, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 2, die 1"},
        {{name::Die, 8}, ControlKind::Label, "#", 4800, 0, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 2, die 2"},
        {{name::Die, 9}, ControlKind::Label, "#", 4320, 480, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 2, die 3"},
        {{name::Die, 10}, ControlKind::Label, "#", 4800, 480, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 2, die 4"},
        {{name::Die, 11}, ControlKind::Label, "#", 4320, 960, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 2, die 5"},
        {{name::Die, 12}, ControlKind::Label, "#", 4800, 960, 495, 495, true, colour::Yellow, Border::Single,
                Align::Centre, FontKind::Large, "Player 2, die 6"},
        {{name::Points, 1}, ControlKind::Label, "Points", 960, 0, 1695, 495, true, colour::Green, Border::Single,
                Align::Centre, FontKind::Large, "Player 1 points heading"},
        {{name::Points, 2}, ControlKind::Label, "Points", 2640, 0, 1695, 495, true, colour::Green, Border::Single,
                Align::Centre, FontKind::Large, "Player 2 points heading"},
        {{name::Score, 1}, ControlKind::Label, "0", 960, 480, 1695, 495, true, colour::Green, Border::Single,
                Align::Centre, FontKind::Large, "Player 1 score"},
        {{name::Score, 2}, ControlKind::Label, "0", 2640, 480, 1695, 495, true, colour::Green, Border::Single,
                Align::Centre, FontKind::Large, "Player 2 score"},
        {{name::Gain, 1}, ControlKind::Label, "0", 960, 960, 1695, 495, true, colour::Cyan, Border::Single,
                Align::Centre, FontKind::Large, "Player 1 gain of the latest roll"},
        {{name::Gain, 2}, ControlKind::Label, "0", 2640, 960, 1695, 495, true, colour::Cyan, Border::Single,
                Align::Centre, FontKind::Large, "Player 2 gain of the latest roll"},
        {{name::Pair, 1}, ControlKind::Label, "Pair", 0, 1440, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 1 pair"},
        {{name::Triple, 1}, ControlKind::Label, "Triple", 0, 1920, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 1 three of a kind"},
        {{name::Quad, 1}, ControlKind::Label, "Quad", 0, 2400, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 1 four of a kind"},
        {{name::Quint, 1}, ControlKind::Label, "Quint", 0, 2880, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 1 five of a kind"},
        {{name::Tornel, 1}, ControlKind::Label, "Tornel", 0, 3360, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 1 six of a kind"},
        {{name::Pair, 2}, ControlKind::Label, "Pair", 3840, 1440, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 2 pair"},
        {{name::Triple, 2}, ControlKind::Label, "Triple", 3840, 1920, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 2 three of a kind"},
        {{name::Quad, 2}, ControlKind::Label, "Quad", 3840, 2400, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 2 four of a kind"},
        {{name::Quint, 2}, ControlKind::Label, "Quint", 3840, 2880, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 2 five of a kind"},
        {{name::Tornel, 2}, ControlKind::Label, "Tornel", 3840, 3360, 1455, 495, true, colour::White, Border::None,
                Align::Centre, FontKind::Large, "Player 2 six of a kind"},
        {{name::Roll, 1}, ControlKind::Button, "Roll", 0, 3840, 1215, 495, true, std::nullopt, Border::None,
                Align::Centre, FontKind::Large, "Roll the dice for player 1"},
        {{name::Roll, 2}, ControlKind::Button, "Roll", 4080, 3840, 1215, 495, false, std::nullopt, Border::None,
                Align::Centre, FontKind::Large, "Roll the dice for player 2"},
        {{name::Turn, 0}, ControlKind::Label, "Turn", 1200, 3840, 1455, 495, true, std::nullopt, Border::Single,
                Align::Centre, FontKind::Large, "Rounds heading"},
        {{name::NumTurns, 0}, ControlKind::Label, "0", 2640, 3840, 1455, 495, true, std::nullopt, Border::Single,
                Align::Centre, FontKind::Large, "Rounds played"},
        {{name::Instructions, 0}, ControlKind::Label, InstructionsText, 1440, 1440, 2415, 2415, true, colour::Magenta, Border::None,
                Align::Left, FontKind::WindowDefault, "Rules of the game"},
        {{name::L2, 0}, ControlKind::Label, "0", 0, 1560, 195, 195, false, colour::White, Border::Single,
                Align::Left, FontKind::WindowDefault, "Sum of the matching sets of 2 dice"},
        {{name::L3, 0}, ControlKind::Label, "0", 0, 2040, 195, 195, false, colour::White, Border::Single,
                Align::Left, FontKind::WindowDefault, "Sum of the matching sets of 3 dice"},
        {{name::L4, 0}, ControlKind::Label, "0", 0, 2520, 195, 195, false, colour::White, Border::Single,
                Align::Left, FontKind::WindowDefault, "Sum of the matching sets of 4 dice"},
        {{name::L5, 0}, ControlKind::Label, "0", 0, 3120, 195, 195, false, colour::White, Border::Single,
                Align::Left, FontKind::WindowDefault, "Sum of the matching sets of 5 dice"},
        {{name::L6, 0}, ControlKind::Label, "0", 0, 3480, 195, 195, false, colour::White, Border::Single,
                Align::Left, FontKind::WindowDefault, "Sum of the matching sets of 6 dice"},
}};
// clang-format on

int findControl(rules::Control control)
{
    const auto *found = std::find_if(ControlTable.begin(), ControlTable.end(),
            [control](const ControlSpec &spec) { return spec.control == control; });
    return found == ControlTable.end() ? -1 : static_cast<int>(found - ControlTable.begin());
}

std::size_t controlRow(rules::Control control)
{
    const int row = findControl(control);
    if (row < 0)
        throw rules::GameError(rules::ErrorKind::NoSuchControl,
                "the window has no control " + rules::describe(control));
    return static_cast<std::size_t>(row);
}

} // namespace layout
