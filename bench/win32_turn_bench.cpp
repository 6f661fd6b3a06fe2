// One turn inside the Windows program: the real window (`win32_window`) with the clock's dice.
// A turn is the BN_CLICKED command of the showing Roll button sent to the window, as a click
// ends in: Roll_Click through the window procedure and its error boundary, and the focus
// handed on; then the repaint of what the turn changed. Every other game instead clicks the
// button itself with BM_CLICK (press, capture, focus and release drawn by the button, then
// the same command). The game-ending turn is timed apart: it includes the reset and reload.
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

// The real window, counting what the rules ask of it.
class CountingWindow : public win32::Velmarsh
{
public:
    using Velmarsh::Velmarsh;
    void setCaption(rules::Control label, std::string_view text) override
    {
        ++captions;
        Velmarsh::setCaption(label, text);
    }
    void setBackground(rules::Control label, rules::Rgb colour) override
    {
        ++backgrounds;
        Velmarsh::setBackground(label, colour);
    }
    void setVisible(rules::Control button, bool visible) override
    {
        ++visibility;
        Velmarsh::setVisible(button, visible);
    }
    long captions = 0;
    long backgrounds = 0;
    long visibility = 0;
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
    CountingWindow Velmarsh(random, box, [&](int status) { ended = status; });
    Velmarsh.show(SW_SHOWNORMAL);
    pump();

    std::vector<double> turn, turnPainted, buttonClick, lastTurn;
    for (int click = 0; click < games * 2 * 50 && ended < 0; ++click) {
        HWND roll = Velmarsh.control({rules::name::Roll, 1 + click % 2});
        const bool ending = click % 100 == 99;
        const bool throughButton = click / 100 % 2 == 1;
        const LONGLONG start = now();
        if (throughButton)
            SendMessageW(roll, BM_CLICK, 0, 0);
        else
            SendMessageW(Velmarsh.window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(roll), BN_CLICKED),
                    reinterpret_cast<LPARAM>(roll));
        const LONGLONG clicked = now();
        RedrawWindow(Velmarsh.window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const LONGLONG painted = now();
        if (ending)
            lastTurn.push_back(microseconds(clicked - start));
        else if (throughButton)
            buttonClick.push_back(microseconds(clicked - start));
        else {
            turn.push_back(microseconds(clicked - start));
            turnPainted.push_back(microseconds(painted - start));
        }
        pump();
    }
    // Every game must have been played to its end, each with one result.
    if (ended >= 0 || box.shown != games) {
        std::fprintf(stderr, "the games did not run through: %d results of %d, status %d\n",
                box.shown, games, ended);
        return 1;
    }
    const double turns = games * 2.0 * 50;
    std::printf(
            R"({"turn": %s, "turn_with_repaint": %s, "button_click": %s, "game_ending_turn": %s, )"
            R"("per_turn": {"captions": %.2f, "backgrounds": %.2f, "visibility": %.2f}})"
            "\n",
            summary(turn).c_str(), summary(turnPainted).c_str(), summary(buttonClick).c_str(),
            summary(lastTurn).c_str(), static_cast<double>(Velmarsh.captions) / turns,
            static_cast<double>(Velmarsh.backgrounds) / turns,
            static_cast<double>(Velmarsh.visibility) / turns);
    return 0;
}
