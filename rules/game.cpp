#include "rules/game.h"

#include "rules/conversions.h"
#include "rules/error.h"
#include "rules/match_tally.h"
#include "rules/message_box.h"
#include "rules/random_source.h"
#include "rules/window_arrays.h"
#include "rules/window_operations.h"

#include <array>
#include <cmath>
#include <string_view>

namespace rules {

namespace {

using namespace conversions;

// The categories in group-size order 2..6, with their accumulator, weight and highlight.
struct Category
{
    std::string_view label;
    std::string_view accumulator;
    double weight;
    Rgb highlight;
};

constexpr std::array<Category, 5> Categories{{
        {name::Pair, name::L2, 1.0, colour::Yellow},
        {name::Triple, name::L3, 3.0, colour::Amber},
        {name::Quad, name::L4, 18.0, colour::Orange},
        {name::Quint, name::L5, 86.0, colour::Vermilion},
        {name::Tornel, name::L6, 435.0, colour::Red},
}};

constexpr std::int16_t StraightGain = 100;
constexpr std::string_view NoDie = "#";

Control accumulator(int groupSize)
{
    return {Categories[static_cast<std::size_t>(groupSize - 2)].accumulator, 0};
}

// Runs one named step of a procedure; a failure inside it is told with the step's name.
template<typename Step>
void runStep(const char *place, Step &&step)
{
    try {
        step();
    } catch (GameError &error) {
        error.addWhere(place);
        throw;
    }
}

double toNumberFrom(std::string_view text, Control label)
{
    try {
        return toNumber(text);
    } catch (GameError &error) {
        error.addWhere("reading the caption of " + describe(label));
        throw;
    }
}

} // namespace

Game::Game(WindowOperations &window, RandomSource &random, MessageBox &messages,
        WindowArrays &arrays)
    : m_window(window), m_random(random), m_messages(messages), m_arrays(arrays)
{
}

void Game::Roll_Click(std::int16_t PlayerIndex)
{
    const int player = PlayerIndex;
    runStep("clearing the category highlights", [&] { clearHighlights(player); });
    runStep("rolling the dice", [&] { rollDice(); });
    runStep("clearing the match sums", [&] { clearAccumulators(); });
    runStep("showing the dice", [&] { showFaces(player); });
    runStep("counting matching dice", [&] { tallyMatches(); });
    runStep("scoring the roll", [&] { scoreRoll(player); });
    runStep("passing the turn", [&] { handOver(player); });
    runStep("lighting the categories", [&] { lightCategories(player); });
    runStep("closing the round", [&] { closeRound(player); });
}

void Game::clearHighlights(int player)
{
    for (const Category &category : Categories)
        m_window.setBackground({category.label, player}, colour::White);
}

void Game::rollDice()
{
    for (int die = 1; die <= DiceCount; ++die) {
        const double r = m_random.next();
        m_arrays.DieValue(die) = static_cast<float>(add(std::floor(multiply(r, 6.0)), 1.0));
    }
}

void Game::clearAccumulators()
{
    for (int size = 2; size <= 6; ++size)
        m_window.setCaption(accumulator(size), "0");
}

void Game::showFaces(int player)
{
    const int first = player == 2 ? 7 : 1;
    for (int j = 0; j < DiceCount; ++j)
        m_window.setCaption({name::Die, first + j}, numberText(m_arrays.DieValue(j + 1)));
}

void Game::tallyMatches()
{
    // The roll does not change during the tally: read each die once.
    std::array<float, DiceCount + 1> dice{};
    for (int die = 1; die <= DiceCount; ++die)
        dice[static_cast<std::size_t>(die)] = m_arrays.DieValue(die);
    const auto face = [&dice](int position) { return dice[static_cast<std::size_t>(position)]; };

    for (const DieSet &set : MatchTests) {
        bool allEqual = true;
        for (std::size_t i = 1; i < static_cast<std::size_t>(set.size); ++i)
            allEqual = (face(set.positions[i - 1]) == face(set.positions[i])) && allEqual;
        if (!allEqual)
            continue;
        const Control sum = accumulator(set.size);
        setNumber(sum, add(number(sum), face(set.positions[0])));
    }
}

void Game::scoreRoll(int player)
{
    std::array<std::string, 5> texts; // L6 down to L2, read before anything else
    for (int size = 6; size >= 2; --size)
        texts[static_cast<std::size_t>(6 - size)] = m_window.caption(accumulator(size));
    const auto read = [&](int size) {
        return toNumberFrom(texts[static_cast<std::size_t>(6 - size)], accumulator(size));
    };
    const auto weight = [](int size) { return Categories[static_cast<std::size_t>(size - 2)].weight; };

    std::int16_t &gain = m_arrays.GainValue(player);
    double raw = multiply(weight(5), read(5));
    raw = add(raw, multiply(weight(6), read(6)));
    raw = add(raw, multiply(weight(4), read(4)));
    raw = add(raw, multiply(weight(3), read(3)));
    raw = add(raw, read(2));
    gain = toInt16(raw);

    if (number(accumulator(2)) == 0.0)
        m_arrays.GainValue(player) = StraightGain;
    const Control score{name::Score, player};
    setNumber(score, add(number(score), m_arrays.GainValue(player)));
    m_window.setCaption({name::Gain, player}, numberText(m_arrays.GainValue(player)));
}

void Game::handOver(int player)
{
    m_window.setVisible({name::Roll, player}, false);
    if (player == 1)
        m_window.setVisible({name::Roll, 2}, true);
    if (player == 2)
        m_window.setVisible({name::Roll, 1}, true);
}

void Game::lightCategories(int player)
{
    for (const Category &category : Categories) {
        if (number({category.accumulator, 0}) > 0.0)
            m_window.setBackground({category.label, player}, category.highlight);
    }
}

void Game::closeRound(int player)
{
    if (player == 2) {
        for (int die = 1; die <= DiceCount; ++die)
            m_window.setCaption({name::Die, die}, NoDie);
        const Control rounds{name::NumTurns, 0};
        setNumber(rounds, add(number(rounds), 1.0));
        if (number(rounds) >= GameLength)
            reset();
        markRoundGains();
    }
    if (player == 1) {
        for (int die = 7; die <= 2 * DiceCount; ++die)
            m_window.setCaption({name::Die, die}, NoDie);
        m_window.setBackground({name::Gain, 1}, colour::Cyan);
        m_window.setBackground({name::Gain, 2}, colour::Cyan);
        m_window.setCaption({name::Gain, 2}, "0");
    }
}

void Game::markRoundGains()
{
    const std::int16_t first = m_arrays.GainValue(1);
    const std::int16_t second = m_arrays.GainValue(2);
    if (first > second) {
        m_window.setBackground({name::Gain, 1}, colour::Green);
        m_window.setBackground({name::Gain, 2}, colour::Red);
    }
    if (first < second) {
        m_window.setBackground({name::Gain, 1}, colour::Red);
        m_window.setBackground({name::Gain, 2}, colour::Green);
    }
}

void Game::reset()
{
    runStep("announcing the result", [&] { announceResult(); });
    runStep("clearing the counters", [&] { clearCounters(); });
    runStep("starting a new game", [&] { m_window.reload(); });
}

void Game::announceResult()
{
    const Control first{name::Score, 1};
    const Control second{name::Score, 2};
    const auto leading = [this](Control score) { return leadingNumber(m_window.caption(score)); };
    const auto scoreText = [this](Control score) { return signedNumberText(number(score)); };

    if (leading(first) > leading(second))
        m_messages.show(ApplicationTitle,
                "Player 1 won with" + scoreText(first) + " points and Player 2 lost with"
                        + scoreText(second) + " points!");
    if (leading(first) < leading(second))
        m_messages.show(ApplicationTitle,
                "Player 2 won with" + scoreText(second) + " points and Player 1 lost with"
                        + scoreText(first) + " points!");
    if (leading(first) == leading(second))
        m_messages.show(ApplicationTitle,
                "Surprisingly, you EACH won with" + scoreText(first) + " points!");
}

void Game::clearCounters()
{
    setNumber({name::NumTurns, 0}, 0.0);
    m_arrays.GainValue(1) = 0;
    m_arrays.GainValue(2) = 0;
    m_window.setCaption({name::Score, 1}, "0");
    m_window.setCaption({name::Score, 2}, "0");
    m_window.setCaption({name::Gain, 1}, "0");
    m_window.setCaption({name::Gain, 2}, "0");
}

double Game::number(Control label) const
{
    return toNumberFrom(m_window.caption(label), label);
}

void Game::setNumber(Control label, double value)
{
    m_window.setCaption(label, numberText(value));
}

} // namespace rules
