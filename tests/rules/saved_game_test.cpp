// A kept game is its draws: played again through the rules on a fresh window, it must
// give back every caption, colour, the arrays and whose turn it is; anything else is refused.
#include "game_fixture.h"

#include "rules/recording_random.h"
#include "rules/saved_game.h"

#include <cmath>
#include <limits>

namespace game_testing {
namespace {

class SavedGame : public GameFixture
{
protected:
    rules::RecordingRandom recording{random};
    rules::Game recorded{window, recording, messages, arrays};

    // A kept game of `turns` turns whose dice go round the faces.
    std::string played(int turns)
    {
        for (int turn = 0; turn < turns; ++turn) {
            const int f = turn % 6;
            random.queueFaces({1 + f, 1 + f, 2, 1 + (f + 3) % 6, 5, 1 + f});
            recorded.Roll_Click(static_cast<std::int16_t>(1 + turn % 2));
        }
        return rules::savedGame(recording.draws());
    }
};

TEST_F(SavedGame, PlaysBackToTheSameWindowArraysAndTurn)
{
    const std::string kept = played(7);
    testing_support::FakeWindow restored;
    testing_support::ScriptedRandom noDraws;
    rules::RecordingRandom replaying(noDraws);
    rules::WindowArrays restoredArrays;
    rules::Game game2(restored, replaying, messages, restoredArrays);

    ASSERT_TRUE(rules::restoreGame(kept, game2, replaying));
    EXPECT_TRUE(sameWindow(restored, window));
    EXPECT_TRUE(restored.state({"Roll", 2}).visible);
    for (int slot = 1; slot <= 6; ++slot)
        EXPECT_EQ(restoredArrays.DieValue(slot), arrays.DieValue(slot));
    EXPECT_EQ(restoredArrays.GainValue(1), arrays.GainValue(1));
    EXPECT_EQ(restoredArrays.GainValue(2), arrays.GainValue(2));
    EXPECT_EQ(rules::savedGame(replaying.draws()), kept); // it keeps being recorded
    EXPECT_EQ(noDraws.drawsTaken, 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SavedGame, ALoadForgetsTheDrawsOfTheLastGame)
{
    played(3);
    recording.reseedFromClock();
    EXPECT_EQ(rules::savedGame(recording.draws()), "");
}

TEST_F(SavedGame, RefusesWhatIsNotAGameBetweenTwoTurnsBeforeItsEnd)
{
    const std::string turn = played(1);
    const std::string ninetyNineTurns = played(98);
    const auto drawOf = [](double draw) { return rules::savedGame({draw}); };
    const std::string rest = turn.substr(16);

    testing_support::FakeWindow untouched;
    rules::RecordingRandom replaying(random);
    rules::Game game2(untouched, replaying, messages, arrays);
    for (const std::string &text : {turn.substr(0, 80), turn + "0", "x" + turn.substr(1),
                 turn.substr(0, 95) + "g", ninetyNineTurns + turn, drawOf(1.0) + rest,
                 drawOf(-0.25) + rest, drawOf(std::nan("")) + rest,
                 drawOf(std::numeric_limits<double>::infinity()) + rest}) {
        EXPECT_FALSE(rules::restoreGame(text, game2, replaying)) << text.substr(0, 40);
        EXPECT_EQ(untouched.operations, 0);
    }
    EXPECT_TRUE(rules::restoreGame(ninetyNineTurns, game2, replaying));
    EXPECT_EQ(untouched.caption({"NumTurns", 0}), "49");
}

} // namespace
} // namespace game_testing
