// A turn inside the Windows program as the screen shows it: the real window (`win32_window`)
// with the clock's dice, the showing Roll button clicked with BM_CLICK (press, capture, focus
// and release drawn by the button, then Roll_Click through the window procedure and its error
// boundary), then the repaint of what the turn changed. The game-ending turn, with the result
// box answered at once and the fresh game, is timed apart.
//
//   win32_turn_bench [GAMES]   prints one JSON line of medians and percentiles in microseconds
#include "rules/clock_random.h"
#include "rules/controls.h"
#include "win32/owned_message_box.h"
#include "win32/velmarsh.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The result box answered at once, so that a game can end inside the loop.
class AtOnceBox : public win32::OwnedMessageBox
{
public:
    void show(std::string_view, std::string_view) override { ++shown; }
    int shown = 0;
};

double microseconds(LONGLONG ticks)
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return 1e6 * static_cast<double>(ticks) / static_cast<double>(frequency);
}

LONGLONG now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::string summary(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const auto at = [&](double share) {
        return times[static_cast<std::size_t>(share * static_cast<double>(times.size() - 1))];
    };
    char out[160];
    std::snprintf(out, sizeof out, R"({"n": %zu, "median": %.2f, "p10": %.2f, "p90": %.2f})",
            times.size(), at(0.5), at(0.1), at(0.9));
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    const int games = argc > 1 ? std::atoi(argv[1]) : 20;
    rules::ClockRandom random;
    AtOnceBox box;
    int ended = -1;
    win32::Velmarsh Velmarsh(random, box, [&](int status) { ended = status; });
    Velmarsh.show(SW_SHOWNORMAL);
    pump();

    std::vector<double> turn, lastTurn;
    for (int click = 0; click < games * 2 * 50 && ended < 0; ++click) {
        const LONGLONG start = now();
        SendMessageW(Velmarsh.control({rules::name::Roll, 1 + click % 2}), BM_CLICK, 0, 0);
        RedrawWindow(Velmarsh.window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        (click % 100 == 99 ? lastTurn : turn).push_back(microseconds(now() - start));
        pump();
    }
    // Every game must have been played to its end, each with one result.
    if (ended >= 0 || box.shown != games) {
        std::fprintf(stderr, "the games did not run through: %d results of %d, status %d\n",
                box.shown, games, ended);
        return 1;
    }
    std::printf(R"({"turn_with_repaint": %s, "game_ending_turn": %s})"
                "\n",
            summary(turn).c_str(), summary(lastTurn).c_str());
    return 0;
}
