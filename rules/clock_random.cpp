#include "rules/clock_random.h"

#include <chrono>

namespace rules {

namespace {

std::uint32_t low(std::uint64_t value)
{
    return static_cast<std::uint32_t>(value);
}

std::uint32_t high(std::uint64_t value)
{
    return static_cast<std::uint32_t>(value >> 32U);
}

} // namespace

// Both clocks go into the seed: the wall clock tells apart loads at different times,
// and the finer clock loads within one tick of it. In a browser the wall clock counts
// whole milliseconds and the fine clock counts from the page's opening, so that neither
// alone gives a fresh game at every load.
void ClockRandom::reseedFromClock()
{
    const auto wall = static_cast<std::uint64_t>(
            std::chrono::system_clock::now().time_since_epoch().count());
    const auto fine = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seeds{low(wall), high(wall), low(fine), high(fine)};
    m_engine.seed(seeds);
}

double ClockRandom::next()
{
    constexpr double TwoToMinus53 = 1.0 / 9007199254740992.0;
    return static_cast<double>(m_engine() >> 11U) * TwoToMinus53;
}

} // namespace rules
