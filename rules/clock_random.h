#pragma once

#include "rules/random_source.h"

#include <cstdint>
#include <random>

namespace rules {

// The dice's generator: 53 random bits scaled into [0, 1), so a draw is always
// below 1 and a die is never 7.
class ClockRandom : public RandomSource
{
public:
    void reseedFromClock() override;
    [[nodiscard]] double next() override;

private:
    std::mt19937_64 m_engine;
};

} // namespace rules
