#pragma once

#include "rules/random_source.h"

#include <deque>
#include <initializer_list>
#include <stdexcept>
#include <vector>

namespace testing_support {

// Hands out the draws a test scripts, in order; running out is a test failure.
class ScriptedRandom : public rules::RandomSource
{
public:
    void reseedFromClock() override { ++reseeds; }
    [[nodiscard]] double next() override
    {
        if (m_draws.empty())
            throw std::logic_error("the test scripted too few draws");
        const double draw = m_draws.front();
        m_draws.pop_front();
        ++drawsTaken;
        return draw;
    }

    // Scripts draws that roll exactly these faces (1 to 6).
    void queueFaces(std::initializer_list<int> faces) { queueFaces(std::vector<int>(faces)); }
    void queueFaces(const std::vector<int> &faces)
    {
        for (const int face : faces)
            m_draws.push_back((face - 1 + 0.5) / 6.0);
    }
    void queueDraw(double draw) { m_draws.push_back(draw); }
    [[nodiscard]] std::size_t pending() const { return m_draws.size(); }

    int reseeds = 0;
    int drawsTaken = 0;

private:
    std::deque<double> m_draws;
};

} // namespace testing_support
