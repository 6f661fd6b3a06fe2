#include "win32/control_ids.h"

#include "rules/error.h"

#include <array>
#include <string_view>
#include <utility>

namespace win32 {

namespace {

using namespace rules::name;

// The ID of each name's member 0; a member's ID adds its Index.
constexpr std::array<std::pair<std::string_view, int>, 18> FirstIds{{
        {Roll, 100},
        {Die, 200},
        {Points, 300},
        {Score, 310},
        {Gain, 320},
        {Pair, 400},
        {Triple, 410},
        {Quad, 420},
        {Quint, 430},
        {Tornel, 440},
        {Turn, 500},
        {NumTurns, 510},
        {Instructions, 520},
        {L2, 602},
        {L3, 603},
        {L4, 604},
        {L5, 605},
        {L6, 606},
}};

} // namespace

int controlId(rules::Control control)
{
    for (const auto &[name, first] : FirstIds) {
        if (name == control.name)
            return first + control.index;
    }
    throw rules::GameError(rules::ErrorKind::NoSuchControl,
            "the window has no control " + rules::describe(control));
}

} // namespace win32
