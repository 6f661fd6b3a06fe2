#pragma once

#include "rules/random_source.h"

#include <cstddef>
#include <vector>

namespace rules {

// Hands out another source's draws and keeps those of the game in progress. A game is a
// function of its dice, so these draws are all it takes to play it again through the
// rules. Loading the window starts a new game and forgets them.
class RecordingRandom : public RandomSource
{
public:
    explicit RecordingRandom(RandomSource &source) : m_source(source) { }

    void reseedFromClock() override;
    [[nodiscard]] double next() override;

    // The next draws come from these, in order, and then from the source again.
    void replay(std::vector<double> draws);
    [[nodiscard]] const std::vector<double> &draws() const { return m_draws; }

private:
    RandomSource &m_source;
    std::vector<double> m_draws;
    std::vector<double> m_replay;
    std::size_t m_replayed = 0;
};

} // namespace rules
