#pragma once

#include <array>
#include <cstddef>

namespace testing_support {

using Dice = std::array<int, 6>;

// What a roll must give, from how many dice show each face: a group of n dice of face v
// adds C(n,k)*v to the sum of size k and is worth 6^(n-2)*v; six different faces are worth 100.
struct Outcome
{
    std::array<long long, 5> sums{};
    long long gain = 0;
    std::array<bool, 5> lit{};
    bool straight = true;
};

inline Outcome outcomeOf(const Dice &dice)
{
    std::array<int, 7> count{};
    for (const int face : dice)
        ++count[static_cast<std::size_t>(face)];
    Outcome outcome;
    for (int face = 1; face <= 6; ++face) {
        const int n = count[static_cast<std::size_t>(face)];
        long long ways = n, worth = face; // C(n,k) and 6^(k-2)*face, kept up as k grows
        for (int k = 2; k <= n; ++k) {
            ways = ways * (n - k + 1) / k;
            worth *= k > 2 ? 6 : 1;
            outcome.sums[static_cast<std::size_t>(k - 2)] += ways * face;
            outcome.lit[static_cast<std::size_t>(k - 2)] = true;
            outcome.straight = false;
        }
        outcome.gain += n >= 2 ? worth : 0;
    }
    outcome.gain = outcome.straight ? 100 : outcome.gain;
    return outcome;
}

} // namespace testing_support
