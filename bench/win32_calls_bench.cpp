// What the window calls a turn makes cost on their own, in a plain window with one label and
// two buttons: a caption write, a caption read, a repaint request, the swap of the two shown
// buttons, a focus change and a default-button change. Under Wine each of these that the
// server or the X driver must see costs far more than on Windows; the figures show where a
// turn's time goes.
//
//   win32_calls_bench   prints one JSON line: the median of 400 calls of each, in microseconds
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double seconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

template <typename Call> double medianMicroseconds(Call call)
{
    std::vector<double> times;
    for (int i = 0; i < 400; ++i) {
        const double start = seconds();
        call(i);
        times.push_back(1e6 * (seconds() - start));
    }
    std::nth_element(times.begin(), times.begin() + 200, times.end());
    return times[200];
}

} // namespace

int main()
{
    HWND window = CreateWindowExW(0, L"Static", L"calls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
            300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND label = CreateWindowExW(0, L"Static", L"0", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER,
            0, 0, 100, 30, window, nullptr, nullptr, nullptr);
    HWND buttons[2] = {CreateWindowExW(0, L"Button", L"Roll", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                               40, 100, 30, window, nullptr, nullptr, nullptr),
            CreateWindowExW(0, L"Button", L"Roll", WS_CHILD | WS_TABSTOP, 100, 40, 100, 30, window,
                    nullptr, nullptr, nullptr)};
    wchar_t text[16];
    const double write = medianMicroseconds([&](int i) {
        std::swprintf(text, 16, L"%d", i);
        SetWindowTextW(label, text);
    });
    const double read = medianMicroseconds([&](int) { GetWindowTextW(label, text, 16); });
    const double invalidate =
            medianMicroseconds([&](int) { InvalidateRect(label, nullptr, TRUE); });
    const double swap = medianMicroseconds([&](int i) {
        ShowWindow(buttons[i % 2], SW_HIDE);
        ShowWindow(buttons[1 - i % 2], SW_SHOWNA);
    });
    const double focus = medianMicroseconds([&](int i) { SetFocus(buttons[i % 2]); });
    const double style = medianMicroseconds([&](int i) {
        SendMessageW(buttons[0], BM_SETSTYLE, i % 2 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    });
    std::printf(R"({"set_caption": %.1f, "read_caption": %.1f, "invalidate": %.1f, )"
                R"("swap_buttons": %.1f, "set_focus": %.1f, "set_default_style": %.1f})"
                "\n",
            write, read, invalidate, swap, focus, style);
    DestroyWindow(window);
    return 0;
}
