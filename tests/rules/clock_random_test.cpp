// The dice's real generator after a reseed from the clock: its draws cover [0, 1) and the
// six faces they make come up equally often.
#include "rules/clock_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

TEST(ClockRandom, DrawsCoverZeroToOneAndMakeSixEvenFaces)
{
    rules::ClockRandom random;
    random.reseedFromClock();
    constexpr int Draws = 600'000;
    std::array<int, 6> faces{};
    double lowest = 1.0, highest = 0.0;
    for (int i = 0; i < Draws; ++i) {
        const double r = random.next();
        ASSERT_TRUE(r >= 0.0 && r < 1.0) << r;
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
        ++faces[static_cast<std::size_t>(std::floor(r * 6.0))];
    }
    // Of 600,000 even draws, the chance that none falls within 0.001 of an end is e^-600.
    EXPECT_LT(lowest, 0.001);
    EXPECT_GT(highest, 0.999);

    // Chi-square with 5 degrees of freedom exceeds 35.89 with probability 1e-6 (its upper
    // tail, erfc(sqrt(x/2)) + sqrt(2x/pi) * exp(-x/2) * (1 + x/3), is 1.0e-6 at x = 35.888):
    // even dice never fail this, while dice that favour one face by 2 % of its share do.
    constexpr double Expected = Draws / 6.0;
    double chiSquare = 0.0;
    for (const int count : faces)
        chiSquare += (count - Expected) * (count - Expected) / Expected;
    EXPECT_LT(chiSquare, 35.89) << faces[0] << " " << faces[1] << " " << faces[2] << " " << faces[3]
                                << " " << faces[4] << " " << faces[5];
}
