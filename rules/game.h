#pragma once

#include "rules/controls.h"

#include <cstdint>
#include <string>

namespace rules {

// Rounds in a game: after the fiftieth the result is announced and a new game starts.
inline constexpr int GameLength = 50;
// Dice rolled in every turn, one draw of the random source each.
inline constexpr int DiceCount = 6;

class MessageBox;
class RandomSource;
class WindowOperations;
struct WindowArrays;

// The game's procedures, played on one window: a whole turn per click, and the
// end of a game with the start of the next.
class Game
{
public:
    Game(WindowOperations &window, RandomSource &random, MessageBox &messages,
            WindowArrays &arrays);

    // One whole turn for the player whose Roll button was clicked (1 or 2).
    void Roll_Click(std::int16_t PlayerIndex);

private:
    // Announces the result, clears the counters and starts a fresh game. Only the
    // close of the fiftieth round calls it, inside the click and so inside the
    // window's error boundary.
    void reset();
    void clearHighlights(int player);
    void rollDice();
    void clearAccumulators();
    void showFaces(int player);
    void tallyMatches();
    void scoreRoll(int player);
    void handOver(int player);
    void lightCategories(int player);
    void closeRound(int player);
    void markRoundGains();
    void announceResult();
    void clearCounters();

    [[nodiscard]] double number(Control label) const;
    void setNumber(Control label, double value);

    WindowOperations &m_window;
    RandomSource &m_random;
    MessageBox &m_messages;
    WindowArrays &m_arrays;
};

} // namespace rules
