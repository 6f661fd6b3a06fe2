// The rules alone: one whole turn (rules::Game::Roll_Click) and one whole game of
// 100 turns, its reset included, against in-memory windows.
#include "bench_doubles.h"
#include "fake_window.h"
#include "rules/clock_random.h"
#include "rules/game.h"
#include "rules/window_arrays.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int TurnsPerGame = 100; // 50 rounds of two turns; the 100th ends with the reset

template <typename Window> struct Table
{
    Table() { random.reseedFromClock(); }

    Window window;
    rules::ClockRandom random;
    bench::AnsweringMessageBox messages;
    rules::WindowArrays arrays;
    rules::Game game{window, random, messages, arrays};
};

// One turn, the players taking turns as in play. The 100th turn of a game, which
// ends it with the reset and reload, is played untimed: BM_Game includes it.
template <typename Window> void BM_Turn(benchmark::State &state)
{
    Table<Window> table;
    long turns = 0;
    for (auto _ : state) {
        if (turns % TurnsPerGame == TurnsPerGame - 1) {
            state.PauseTiming();
            table.game.Roll_Click(2);
            ++turns;
            state.ResumeTiming();
        }
        table.game.Roll_Click(static_cast<std::int16_t>(turns % 2 + 1));
        ++turns;
    }
}

// One whole game: 100 turns from a fresh window, the last one ending in the
// reset that announces the result and reloads the window.
template <typename Window> void BM_Game(benchmark::State &state)
{
    Table<Window> table;
    for (auto _ : state) {
        for (int turn = 0; turn < TurnsPerGame; ++turn)
            table.game.Roll_Click(static_cast<std::int16_t>(turn % 2 + 1));
    }
    if (table.messages.shown != static_cast<long>(state.iterations()))
        state.SkipWithError("a game did not end with exactly one announcement");
}

} // namespace

BENCHMARK(BM_Turn<bench::LeanWindow>)->Name("rules_turn/lean_window");
BENCHMARK(BM_Turn<testing_support::FakeWindow>)->Name("rules_turn/fake_window");
BENCHMARK(BM_Game<bench::LeanWindow>)->Name("rules_game100/lean_window");
BENCHMARK(BM_Game<testing_support::FakeWindow>)->Name("rules_game100/fake_window");

BENCHMARK_MAIN();
