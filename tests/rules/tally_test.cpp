#include "game_fixture.h"

#include "rules/match_tally.h"

using namespace game_testing;
using Tally = GameFixture;

namespace {

// A player's side after a turn: match sums, stored gain, gain and score captions, highlights.
std::string shown(const LoggingWindow &window, const rules::WindowArrays &arrays, int player)
{
    std::string text = "sums";
    for (const Category &category : Categories)
        text += " " + window.caption({category.sum, 0});
    text += "; gain " + std::to_string(arrays.GainValue(player)) + " "
            + window.caption({"Gain", player}) + " " + window.caption({"Score", player});
    for (const Category &category : Categories)
        text += "; " + rgbText(window.state({category.label, player}).background);
    return text;
}

// The same for a player whose score stood at 0.
std::string shown(const Outcome &outcome)
{
    std::string text = "sums";
    for (const long long sum : outcome.sums)
        text += " " + std::to_string(sum);
    const std::string gain = std::to_string(outcome.gain);
    text += "; gain " + gain + " " + gain + " " + gain;
    for (std::size_t k = 0; k < 5; ++k)
        text += "; " + rgbText(outcome.lit[k] ? Categories[k].lit : White);
    return text;
}

} // namespace

static_assert(rules::MatchTests.size() == 57 && rules::MatchTests.back().size == 2);

TEST(MatchTests, RunLargestSetsFirstAndEachSizeInLexicographicOrder)
{
    std::string joined;
    for (const rules::DieSet &set : rules::MatchTests) {
        joined += joined.empty() ? "" : ",";
        for (std::size_t i = 0; i < static_cast<std::size_t>(set.size); ++i)
            joined += (i == 0 ? "" : "-") + std::to_string(set.positions[i]);
    }
    EXPECT_EQ(joined,
            "1-2-3-4-5-6,"
            "1-2-3-4-5,1-2-3-4-6,1-2-3-5-6,1-2-4-5-6,1-3-4-5-6,2-3-4-5-6,"
            "1-2-3-4,1-2-3-5,1-2-3-6,1-2-4-5,1-2-4-6,1-2-5-6,1-3-4-5,1-3-4-6,1-3-5-6,1-4-5-6,"
            "2-3-4-5,2-3-4-6,2-3-5-6,2-4-5-6,3-4-5-6,"
            "1-2-3,1-2-4,1-2-5,1-2-6,1-3-4,1-3-5,1-3-6,1-4-5,1-4-6,1-5-6,"
            "2-3-4,2-3-5,2-3-6,2-4-5,2-4-6,2-5-6,3-4-5,3-4-6,3-5-6,4-5-6,"
            "1-2,1-3,1-4,1-5,1-6,2-3,2-4,2-5,2-6,3-4,3-5,3-6,4-5,4-6,5-6");
}

TEST_F(Tally, EveryPossibleRollGivesTheSumsGainAndHighlightsOfItsGroups)
{
    window.logging = false;
    int straights = 0, wrong = 0;
    std::string firstWrong;
    for (int roll = 0; roll < 6 * 6 * 6 * 6 * 6 * 6; ++roll) {
        Dice dice{};
        for (int die = 5, rest = roll; die >= 0; --die, rest /= 6)
            dice[static_cast<std::size_t>(die)] = rest % 6 + 1;
        const Outcome outcome = outcomeOf(dice);
        straights += outcome.straight ? 1 : 0;
        setCaption("Score", 1, "0");
        click(1, dice);
        const std::string actual = shown(window, arrays, 1), expected = shown(outcome);
        if (actual != expected && wrong++ == 0)
            firstWrong = "roll " + std::to_string(roll) + ": " + actual + " instead of " + expected;
    }
    EXPECT_EQ(wrong, 0) << firstWrong;
    EXPECT_EQ(straights, 720);
}

TEST_F(Tally, WorkedExamplesGiveTheirSumsAndGains)
{
    const struct
    {
        Dice dice;
        std::array<long long, 5> sums;
        long long gain;
    } cases[] = {
            {{3, 3, 3, 3, 1, 5}, {18, 12, 3, 0, 0}, 108},
            {{1, 5, 3, 3, 3, 3}, {18, 12, 3, 0, 0}, 108},
            {{3, 3, 3, 3, 1, 1}, {19, 12, 3, 0, 0}, 109},
            {{1, 2, 3, 4, 5, 6}, {0, 0, 0, 0, 0}, 100},
            {{6, 4, 2, 5, 3, 1}, {0, 0, 0, 0, 0}, 100},
            {{1, 1, 2, 3, 4, 5}, {1, 0, 0, 0, 0}, 1},
            {{2, 2, 4, 4, 6, 6}, {12, 0, 0, 0, 0}, 12},
            {{5, 2, 5, 5, 2, 6}, {17, 5, 0, 0, 0}, 32},
            {{6, 1, 6, 1, 6, 1}, {21, 7, 0, 0, 0}, 42},
            {{5, 5, 5, 5, 1, 1}, {31, 20, 5, 0, 0}, 181},
            {{3, 3, 3, 3, 3, 2}, {30, 30, 15, 3, 0}, 648},
            {{4, 4, 4, 4, 4, 4}, {60, 80, 60, 24, 4}, 5184},
            {{6, 6, 6, 6, 6, 6}, {90, 120, 90, 36, 6}, 7776},
    };
    for (const auto &c : cases) {
        Outcome expected{c.sums, c.gain, {}, false};
        for (std::size_t k = 0; k < 5; ++k)
            expected.lit[k] = c.sums[k] > 0;
        for (const int player : {1, 2}) {
            setCaption("Score", player, "0");
            click(player, c.dice);
            EXPECT_EQ(shown(window, arrays, player), shown(expected))
                    << "example worth " << c.gain << ", player " << player;
        }
    }
}
