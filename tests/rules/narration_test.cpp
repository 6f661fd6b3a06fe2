// What the screen reader is told after each turn, and the caption colour on every background.
#include "game_fixture.h"

#include "layout/caption_colour.h"
#include "layout/control_table.h"
#include "rules/narration.h"

using namespace game_testing;
using Narration = GameFixture;

TEST_F(Narration, TellsTheDiceGroupsGainScoreAndWhoIsUpFromTheCaptions)
{
    EXPECT_EQ(rules::turnNarration(window, 1), "Player 1 to roll, round 1 of 50.");
    setCaption("Score", 1, "132");
    click(1, {3, 3, 3, 3, 1, 5});
    EXPECT_EQ(rules::turnNarration(window, 1),
            "Player 1 rolled 3 3 3 3 1 5: four of a kind, 108 points, score 240. "
            "Player 2 to roll, round 1 of 50.");
    click(2, {6, 4, 2, 5, 3, 1});
    EXPECT_EQ(rules::turnNarration(window, 2),
            "Player 2 rolled 6 4 2 5 3 1: a straight, 100 points, score 100. "
            "Player 1 to roll, round 2 of 50.");
    click(1, {1, 1, 2, 3, 4, 5});
    EXPECT_EQ(rules::turnNarration(window, 1),
            "Player 1 rolled 1 1 2 3 4 5: a pair, 1 point, score 241. "
            "Player 2 to roll, round 2 of 50.");
}

TEST_F(Narration, AfterTheLastRoundOfAGameTellsOnlyThatPlayerOneOpensTheNext)
{
    setCaption("NumTurns", 0, "49");
    click(1, {1, 1, 2, 3, 4, 5});
    click(2, {2, 2, 4, 4, 6, 6});
    EXPECT_EQ(rules::turnNarration(window, 2), "Player 1 to roll, round 1 of 50.");
    setCaption("NumTurns", 0, "x");
    EXPECT_EQ(rules::turnNarration(window, 2), std::nullopt) << "a spoilt caption is not told";
}

TEST(Groups, AreNamedLargestFirstAndCountedWhenRepeated)
{
    EXPECT_EQ(rules::describeGroups({3, 3, 3, 3, 1, 1}), "four of a kind and a pair");
    EXPECT_EQ(rules::describeGroups({2, 2, 4, 4, 6, 6}), "three pairs");
    EXPECT_EQ(rules::describeGroups({6, 1, 6, 1, 6, 1}), "two triples");
    EXPECT_EQ(rules::describeGroups({5, 5, 5, 5, 5, 5}), "six of a kind");
    EXPECT_EQ(rules::describeGroups({1, 1, 2, 3, 4, 5}), "a pair");
}

TEST(CaptionColour, IsBlackOnEveryColourTheGamePaintsAndWhiteOnDarkOnes)
{
    for (const auto &spec : layout::ControlTable) {
        if (spec.background) {
            EXPECT_EQ(layout::captionColourOn(*spec.background), (rules::Rgb{0, 0, 0}))
                    << rules::describe(spec.control);
        }
    }
    for (const auto &category : Categories)
        EXPECT_EQ(layout::captionColourOn(category.lit), (rules::Rgb{0, 0, 0}));
    EXPECT_EQ(layout::captionColourOn({0, 0, 128}), (rules::Rgb{255, 255, 255}));
    EXPECT_NEAR(layout::contrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(layout::contrastRatio({255, 0, 0}, {0, 0, 0}), 5.252, 1e-9);
}
