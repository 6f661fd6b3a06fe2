#pragma once

namespace rules {

// Uniform draws for the dice, always 0 <= r < 1.
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    virtual void reseedFromClock() = 0;
    [[nodiscard]] virtual double next() = 0;
};

} // namespace rules
