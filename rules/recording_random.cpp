#include "rules/recording_random.h"

#include <utility>

namespace rules {

void RecordingRandom::reseedFromClock()
{
    m_source.reseedFromClock();
    m_draws.clear();
    m_replay.clear();
    m_replayed = 0;
}

double RecordingRandom::next()
{
    const double draw = m_replayed < m_replay.size() ? m_replay[m_replayed++] : m_source.next();
    m_draws.push_back(draw);
    return draw;
}

void RecordingRandom::replay(std::vector<double> draws)
{
    m_replay = std::move(draws);
    m_replayed = 0;
}

} // namespace rules
