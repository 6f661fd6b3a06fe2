// A turn as the screen shows it: the real window on the offscreen platform, one turn
// through a Roll button with the repaint of what it changed, against a bare window of
// the same 38 widgets changing 20 captions and 10 colours.
#include "qt/velmarsh.h"
#include "baseline_form.h"
#include "answering_message_box.h"
#include "rules/clock_random.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int TurnsPerGame = 100;

// The paint that the event loop does after a click: the posted update request
// is delivered, the changed widgets are painted into the backing store and it
// is flushed to the platform window. (QWidget::repaint() on the window is no
// stronger: it repaints the window's own face and its transparent children,
// not the opaque labels that did not change.)
void paintPending()
{
    QCoreApplication::processEvents();
}

struct Game
{
    Game()
    {
        velmarsh.show();
        paintPending();
        roll[0] = static_cast<QAbstractButton *>(velmarsh.control({rules::name::Roll, 1}));
        roll[1] = static_cast<QAbstractButton *>(velmarsh.control({rules::name::Roll, 2}));
    }

    // Clicks the Roll button of the player whose turn it is: QAbstractButton::click()
    // emits the signals of a mouse click, without the pointer events.
    void turn()
    {
        roll[static_cast<std::size_t>(turns % 2)]->click();
        ++turns;
    }
    [[nodiscard]] bool nextEndsGame() const { return turns % TurnsPerGame == TurnsPerGame - 1; }

    rules::ClockRandom random;
    bench::AnsweringMessageBox messages;
    std::vector<int> endCodes;
    qt::Velmarsh velmarsh{random, messages, [this](int code) { endCodes.push_back(code); }};
    std::array<QAbstractButton *, 2> roll{};
    long turns = 0;
};

// One turn with its repaint. The turn that ends a game (the result box and the
// fresh game) is played untimed: the end-to-end tests time the fresh game.
void BM_WindowTurn(benchmark::State &state)
{
    Game game;
    for (auto _ : state) {
        if (game.nextEndsGame()) {
            state.PauseTiming();
            game.turn();
            paintPending();
            state.ResumeTiming();
        }
        game.turn();
        paintPending();
    }
    if (!game.endCodes.empty())
        state.SkipWithError("a turn failed");
}

void BM_BaselineUpdate(benchmark::State &state)
{
    bench::BaselineForm form;
    form.window()->show();
    paintPending();
    for (auto _ : state) {
        form.update();
        paintPending();
    }
}

double minimum(const std::vector<double> &v)
{
    return *std::min_element(v.begin(), v.end());
}
double maximum(const std::vector<double> &v)
{
    return *std::max_element(v.begin(), v.end());
}

void configure(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMicrosecond)
            ->ComputeStatistics("min", minimum)
            ->ComputeStatistics("max", maximum)
            ->UseRealTime();
}

} // namespace

BENCHMARK(BM_WindowTurn)->Name("window_turn/pending_repaint")->Apply(configure);
BENCHMARK(BM_BaselineUpdate)->Name("baseline_update/pending_repaint")->Apply(configure);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
