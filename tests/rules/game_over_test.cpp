#include "game_fixture.h"

#include <random>
#include <tuple>

using namespace game_testing;
using RoundClose = GameFixture;
using GameOver = GameFixture;

namespace {
constexpr Dice SixSixes{6, 6, 6, 6, 6, 6}; // worth 7776
constexpr Dice OnePair{1, 1, 2, 3, 4, 5}; // worth 1
} // namespace

TEST_F(RoundClose, EmptiesTheOtherRowAndColoursTheHigherGainGreenAndTheLowerRed)
{
    const std::string cyan = rgbText(Cyan), green = rgbText(Green), red = rgbText(Red);
    using Case = std::tuple<Dice, Dice, std::string>;
    for (const auto &[first, second, colours] : {Case{SixSixes, OnePair, green + "; " + red},
                 Case{OnePair, {2, 2, 4, 4, 6, 6}, red + "; " + green},
                 Case{{1, 2, 3, 4, 5, 6}, {6, 4, 2, 5, 3, 1}, cyan + "; " + cyan}}) { // 100 each
        for (int die = 7; die <= 12; ++die)
            setCaption("Die", die, "4");
        window.state({"Gain", 1}).background = Red;
        setCaption("Gain", 2, "55");
        setCaption("NumTurns", 0, "9");
        click(1, first);
        for (int die = 7; die <= 12; ++die)
            EXPECT_EQ(caption("Die", die), "#") << die;
        EXPECT_EQ(gainColours(), cyan + "; " + cyan);
        EXPECT_EQ(caption("Gain", 2), "0");
        EXPECT_EQ(caption("NumTurns"), "9");
        click(2, second);
        for (int die = 1; die <= 6; ++die)
            EXPECT_EQ(caption("Die", die), "#") << die;
        EXPECT_EQ(caption("NumTurns"), "10");
        EXPECT_EQ(gainColours(), colours);
    }
}

TEST_F(GameOver, TheFiftiethRoundAloneEndsTheGameInAFreshWindowWithUncolouredGains)
{
    setCaption("NumTurns", 0, "48");
    click(1, OnePair);
    click(2, OnePair);
    EXPECT_EQ(caption("NumTurns"), "49");
    EXPECT_TRUE(messages.shown.empty());
    std::string behindTheBox;
    messages.whileOpen = [&] { behindTheBox = gainColours(); }; // unequal gains stay uncoloured
    click(1, SixSixes);
    click(2, OnePair);
    ASSERT_EQ(messages.shown.size(), 1U); // 1 + 7776 against 1 + 1
    EXPECT_EQ(behindTheBox, rgbText(Cyan) + "; " + rgbText(Cyan));
    EXPECT_EQ(messages.shown[0].text,
            "Player 1 won with 7777 points and Player 2 lost with 2 points!");
    EXPECT_EQ(window.reloads, 1);
    EXPECT_EQ(window.log.back(), "reload"); // nothing is written into the new window
    EXPECT_TRUE(inOpeningState(window));
    EXPECT_TRUE(visible("Roll", 1) && !visible("Roll", 2));
    EXPECT_EQ(gainColours(), rgbText(Cyan) + "; " + rgbText(Cyan));
}

// Each case plays round 50 from scores one below the final ones, each roll worth 1.
TEST_F(GameOver, AnnouncesTheResultWithTheWinnerFirst)
{
    using Case = std::tuple<int, int, const char *>;
    for (const auto &[first, second, text] :
            {Case{967, 845, "Player 1 won with 967 points and Player 2 lost with 845 points!"},
                    Case{845, 967,
                            "Player 2 won with 967 points and Player 1 lost with 845 points!"},
                    Case{560, 560, "Surprisingly, you EACH won with 560 points!"},
                    Case{100, 99,
                            "Player 1 won with 100 points and Player 2 lost with 99 points!"},
                    Case{99, 100,
                            "Player 2 won with 100 points and Player 1 lost with 99 points!"}}) {
        messages.shown.clear();
        setCaption("Score", 1, std::to_string(first - 1));
        setCaption("Score", 2, std::to_string(second - 1));
        setCaption("NumTurns", 0, "49");
        click(1, OnePair);
        click(2, OnePair);
        ASSERT_EQ(messages.shown.size(), 1U) << text;
        EXPECT_EQ(messages.shown[0].title, "Tornel (2-Player)");
        EXPECT_EQ(messages.shown[0].text, text);
    }
}

TEST_F(GameOver, AfterTheBoxTheWindowIsAsItOpensWithBothGainsZero)
{
    click(1, SixSixes);
    click(2, OnePair);
    setCaption("NumTurns", 0, "49");
    click(1, {2, 2, 2, 5, 5, 1}); // a triple of 2s and a pair of 5s: 6*2 + 5
    messages.whileOpen = [&] { // the box shows over the finished game
        EXPECT_EQ(window.reloads, 0);
        EXPECT_EQ(caption("Score", 1), std::to_string(7776 + 6 * 2 + 5));
        EXPECT_EQ(caption("NumTurns"), "50");
    };
    window.log.clear();
    click(2, OnePair); // unequal gains in round 50, which the fresh window must not show
    EXPECT_EQ(messages.shown.size(), 1U);
    ASSERT_GE(window.log.size(), 7U);
    EXPECT_EQ(std::vector<std::string>(window.log.end() - 7, window.log.end()),
            (std::vector<std::string>{"NumTurns=50", "NumTurns=0", "Score(1)=0", "Score(2)=0",
                    "Gain(1)=0", "Gain(2)=0", "reload"}));
    EXPECT_TRUE(inOpeningState(window));
    EXPECT_EQ(arrays.GainValue(1), 0);
    EXPECT_EQ(arrays.GainValue(2), 0);
}

TEST_F(GameOver, AWholeGameKeepsEachScoreEqualToTheGainsItShowed)
{
    window.logging = false;
    std::mt19937_64 engine(20240611);
    std::array<long long, 3> total{};
    for (int turn = 1; turn <= 100; ++turn) {
        const int player = 2 - turn % 2;
        for (int die = 0; die < 6; ++die)
            random.queueDraw(static_cast<double>(engine() >> 11) * 0x1.0p-53); // 0 <= r < 1
        game.Roll_Click(static_cast<std::int16_t>(player));
        if (turn == 100)
            break;
        total[static_cast<std::size_t>(player)] += std::stoll(caption("Gain", player));
        ASSERT_EQ(caption("Score", 1) + " " + caption("Score", 2),
                std::to_string(total[1]) + " " + std::to_string(total[2]))
                << "turn " << turn;
        ASSERT_EQ(caption("NumTurns"), std::to_string(turn / 2)) << "turn " << turn;
        ASSERT_TRUE(messages.shown.empty()) << "turn " << turn;
    }
    // The last gain is announced but no longer shown: work it out from the dice left.
    Dice last{};
    for (std::size_t die = 0; die < 6; ++die)
        last[die] = static_cast<int>(arrays.DieValue(static_cast<int>(die) + 1));
    total[2] += outcomeOf(last).gain;
    const std::string one = " " + std::to_string(total[1]) + " points";
    const std::string two = " " + std::to_string(total[2]) + " points";
    const std::string expected = total[1] == total[2]
            ? "Surprisingly, you EACH won with" + one + "!"
            : total[1] > total[2]
            ? "Player 1 won with" + one + " and Player 2 lost with" + two + "!"
            : "Player 2 won with" + two + " and Player 1 lost with" + one + "!";
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, expected);
    EXPECT_TRUE(inOpeningState(window));
}
