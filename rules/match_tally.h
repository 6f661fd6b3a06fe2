#pragma once

#include <array>
#include <cstddef>

namespace rules {

// One test of the tally: a set of die positions (ascending, 1-based) whose dice
// must all be equal.
struct DieSet
{
    int size = 0;
    std::array<int, 6> positions{};
};

inline constexpr std::size_t MatchTestCount = 57;

namespace detail {

// Appends every set of `size` positions out of 1..6 in lexicographic order.
constexpr std::size_t appendSets(std::array<DieSet, MatchTestCount> &sets, std::size_t count,
        int size)
{
    DieSet set{size, {}};
    for (int i = 0; i < size; ++i)
        set.positions[static_cast<std::size_t>(i)] = i + 1;
    for (;;) {
        sets[count++] = set;
        int i = size - 1;
        while (i >= 0 && set.positions[static_cast<std::size_t>(i)] == 6 - (size - 1 - i))
            --i;
        if (i < 0)
            return count;
        ++set.positions[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < size; ++j)
            set.positions[static_cast<std::size_t>(j)] =
                    set.positions[static_cast<std::size_t>(j - 1)] + 1;
    }
}

constexpr std::array<DieSet, MatchTestCount> makeMatchTests()
{
    std::array<DieSet, MatchTestCount> sets{};
    std::size_t count = 0;
    for (int size = 6; size >= 2; --size)
        count = appendSets(sets, count, size);
    return sets;
}

} // namespace detail

// The 57 tests of the tally, largest sets first, each size in lexicographic order.
inline constexpr std::array<DieSet, MatchTestCount> MatchTests = detail::makeMatchTests();

} // namespace rules
