#include "rules/clock_random.h"

#include <chrono>

namespace rules {

void ClockRandom::reseedFromClock()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<std::uint64_t>(ticks));
}

double ClockRandom::next()
{
    constexpr double TwoToMinus53 = 1.0 / 9007199254740992.0;
    return static_cast<double>(m_engine() >> 11U) * TwoToMinus53;
}

} // namespace rules
