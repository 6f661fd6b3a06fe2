// The real window on the offscreen platform: one turn through a Roll button with
// the repaint of what it changed, against a bare window of the same 38 widgets
// changing 20 captions and 10 colours; and one reset with its reload.
#include "qt/velmarsh.h"
#include "baseline_form.h"
#include "bench_doubles.h"
#include "rules/clock_random.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int TurnsPerGame = 100;

// Counts the paint events of every widget, to show what a repaint covered.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
    long paints = 0;
};

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

// One turn with its repaint. The turn that ends a game (its reset and reload)
// is played untimed: the reset is measured on its own below.
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

// One reset (result announced to a box that answers at once, counters cleared,
// window reloaded) with the repaint of the reloaded window; a round is played
// untimed before each, so the reload has changes to undo.
template <bool WithPaint> void BM_ResetReload(benchmark::State &state)
{
    Game game;
    for (auto _ : state) {
        state.PauseTiming();
        game.turn();
        game.turn();
        paintPending();
        state.ResumeTiming();
        game.velmarsh.reset();
        if (WithPaint)
            paintPending();
    }
    if (!game.endCodes.empty())
        state.SkipWithError("a turn failed");
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

// How many widgets one turn's repaint paints, printed once, to show that the real
// turn and the baseline update repaint a similar share of the window.
void reportPaintCoverage()
{
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    {
        Game game;
        long before = counter.paints;
        game.turn();
        paintPending();
        const long first = counter.paints - before;
        before = counter.paints;
        game.turn();
        paintPending();
        std::fprintf(stderr,
                "paint events per repaint: real window, turn of player 1: %ld, of player 2: %ld\n",
                first, counter.paints - before);
    }
    {
        bench::BaselineForm form;
        form.window()->show();
        paintPending();
        const long before = counter.paints;
        form.update();
        paintPending();
        std::fprintf(stderr,
                "paint events per repaint: baseline window, 20 captions and 10 colours: %ld\n",
                counter.paints - before);
    }
    qApp->removeEventFilter(&counter);
}

} // namespace

BENCHMARK(BM_WindowTurn)->Name("window_turn/pending_repaint")->Apply(configure);
BENCHMARK(BM_BaselineUpdate)->Name("baseline_update/pending_repaint")->Apply(configure);
BENCHMARK(BM_ResetReload<true>)->Name("window_reset_reload/with_repaint")->Apply(configure);
BENCHMARK(BM_ResetReload<false>)->Name("window_reset_reload/no_repaint")->Apply(configure);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    reportPaintCoverage();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
