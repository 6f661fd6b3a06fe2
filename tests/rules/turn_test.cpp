#include "game_fixture.h"

#include "rules/conversions.h"

#include <cmath>
#include <tuple>

using namespace game_testing;
using rules::ErrorKind;
using Turn = GameFixture;
using TurnError = GameFixture;

TEST_F(Turn, ShowsTheFacesInItsOwnRowAndHandsTheRollButtonOver)
{
    for (const int player : {1, 2}) {
        window.log.clear();
        click(player, {4, 1, 6, 2, 5, 3});
        // The other row is written only when the round closes, to show no dice.
        const int own = player == 1 ? 1 : 7, other = 8 - own;
        std::vector<std::string> expected;
        for (int i = 0; i < 6; ++i)
            expected.push_back("Die(" + std::to_string(own + i) + ")=" + "416253"[i]);
        for (int i = 0; i < 6; ++i)
            expected.push_back("Die(" + std::to_string(other + i) + ")=#");
        EXPECT_EQ(window.changes("Die("), expected) << "player " << player;
        EXPECT_FALSE(visible("Roll", player));
        EXPECT_TRUE(visible("Roll", 3 - player));
    }
}

TEST_F(Turn, ClearsOnlyTheClickingPlayersHighlightsInCategoryOrder)
{
    const Rgb magenta{255, 0, 255};
    for (const int player : {1, 2}) {
        for (const Category &category : Categories)
            for (const int index : {1, 2})
                window.state({category.label, index}).background = magenta;
        window.log.clear();
        click(player, {1, 2, 3, 4, 5, 6}); // a straight lights nothing
        for (std::size_t k = 0; k < 5; ++k) {
            const Category &category = Categories[k];
            EXPECT_EQ(window.log.at(k), rules::describe({category.label, player}) + " 255,255,255");
            EXPECT_EQ(background(category.label, player), White) << category.label;
            EXPECT_EQ(background(category.label, 3 - player), magenta) << category.label;
        }
    }
}

TEST_F(Turn, StartsTheMatchSumsFromZeroWhateverThePreviousTurnLeft)
{
    for (const Category &category : Categories)
        setCaption(category.sum, 0, "77");
    click(1, {3, 3, 3, 3, 1, 5});
    const std::vector<std::string> writes = window.changes("L");
    EXPECT_EQ(std::vector<std::string>(writes.begin(), writes.begin() + 5),
            (std::vector<std::string>{"L2=0", "L3=0", "L4=0", "L5=0", "L6=0"}));
    const char *sums[] = {"18", "12", "3", "0", "0"};
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(caption(Categories[k].sum), sums[k]) << Categories[k].sum;
}

TEST_F(Turn, TakesSixDrawsInDieOrderWithTheEndsOfTheRangeGivingOneAndSix)
{
    for (const double draw : {0.0, 0.2, 0.4, 0.6, 0.8, std::nextafter(1.0, 0.0), 0.5})
        random.queueDraw(draw);
    game.Roll_Click(1);
    EXPECT_EQ(random.drawsTaken, 6);
    EXPECT_EQ(random.pending(), 1U);
    for (int die = 1; die <= 6; ++die) {
        EXPECT_EQ(arrays.DieValue(die), static_cast<float>(die));
        EXPECT_EQ(caption("Die", die), std::to_string(die));
    }
}

TEST_F(TurnError, AScoreThatIsNoNumberEndsTheTurnAtScoringKeepingWhatCameBefore)
{
    using Case = std::tuple<int, const char *, ErrorKind>;
    for (const auto &[player, score, kind] :
            {Case{1, "abc", ErrorKind::TypeMismatch}, Case{2, "12abc", ErrorKind::TypeMismatch},
                    Case{1, "1e400", ErrorKind::Overflow}}) {
        SCOPED_TRACE(score);
        window.log.clear();
        setCaption("Score", player, score);
        const auto error = errorFrom([&, clicking = player] { click(clicking, {3, 3, 3, 3, 1, 5}); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), kind);
        EXPECT_NE(error->where().find("Score(" + std::to_string(player) + ")"), std::string::npos)
                << error->where();
        // Done before the score: faces shown, sums counted, gain stored.
        EXPECT_EQ(caption("Die", player == 1 ? 1 : 7), "3");
        EXPECT_EQ(caption("L2") + " " + caption("L3") + " " + caption("L4"), "18 12 3");
        EXPECT_EQ(arrays.GainValue(player), 108);
        // Never done: gain shown, turn handed over, categories lit, round closed.
        EXPECT_EQ(caption("Score", player), score);
        EXPECT_TRUE(window.changes("Gain(").empty());
        EXPECT_TRUE(visible("Roll", 1) && !visible("Roll", 2));
        EXPECT_EQ(window.changes("Die(").size(), 6U);
        EXPECT_EQ(background("Pair", player), White);
    }
}

TEST_F(TurnError, HugeScoresThatStayFiniteAreStillPlayable)
{
    for (const char *score : {"1e308", "1.7976931348623157e308"}) {
        setCaption("Score", 1, score);
        click(1, {6, 6, 6, 6, 6, 6});
        const double expected = rules::conversions::toNumber(score) + 7776.0;
        EXPECT_EQ(rules::conversions::toNumber(caption("Score", 1)), expected) << score;
    }
}

TEST_F(TurnError, AMatchSumThatWillNotHoldANumberIsATypeMismatch)
{
    setCaption("L3", 0, "abc");
    window.frozen = Control{"L3", 0};
    const auto error = errorFrom([&] { click(1, {3, 3, 3, 3, 1, 5}); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ErrorKind::TypeMismatch);
    EXPECT_NE(error->where().find("L3"), std::string::npos) << error->where();
}

TEST_F(TurnError, AnUnknownPlayerFailsBeforeAnythingChanges)
{
    random.queueFaces({1, 2, 3, 4, 5, 6});
    for (const int player : {0, 3, -1}) {
        const auto error = errorFrom([&] { game.Roll_Click(static_cast<std::int16_t>(player)); });
        ASSERT_TRUE(error) << player;
        EXPECT_EQ(error->kind(), ErrorKind::NoSuchControl) << player;
    }
    EXPECT_EQ(window.operations, 0);
    EXPECT_EQ(random.drawsTaken, 0);
    EXPECT_TRUE(inOpeningState(window));
}
