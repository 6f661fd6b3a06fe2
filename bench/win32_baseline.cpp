// The bare Win32 window the game's start-up is compared with: a top-level window with the
// game's class name, caption and client size, and its 38 STATIC and BUTTON controls made from
// the layout table with the same fonts, borders, alignment, brushes and visibility, and the
// game's manifest (bench/win32_baseline.rc). No game code: no rules, no error handling, no
// accessibility descriptions.
#ifndef UNICODE
#define UNICODE
#endif
#include "layout/control_table.h"
#include "layout/twips.h"

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>

namespace {

struct Baseline
{
    HFONT large = nullptr;
    std::array<HBRUSH, layout::ControlCount> brushes{};
};
Baseline baseline;

// The control IDs the game gives its controls: each carries the control's Index.
int controlId(const rules::Control &control)
{
    constexpr std::array<std::pair<std::string_view, int>, 18> bases{
            {{"Roll", 100}, {"Die", 200}, {"Points", 300}, {"Score", 310}, {"Gain", 320},
                    {"Pair", 400}, {"Triple", 410}, {"Quad", 420}, {"Quint", 430}, {"Tornel", 440},
                    {"Turn", 500}, {"NumTurns", 510}, {"Instructions", 520}, {"L2", 602},
                    {"L3", 603}, {"L4", 604}, {"L5", 605}, {"L6", 606}}};
    for (const auto &[name, base] : bases) {
        if (name == control.name)
            return base + control.index;
    }
    return 0;
}

std::wstring wide(std::string_view text)
{
    std::wstring out(text.size(), L'\0');
    out.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(),
            static_cast<int>(text.size()), out.data(), static_cast<int>(out.size()))));
    return out;
}

void createControls(HWND window, UINT dpi)
{
    baseline.large = CreateFontW(-MulDiv(18, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE,
            FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
            DEFAULT_PITCH, L"MS Sans Serif");
    const auto small = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (std::size_t row = 0; row < layout::ControlTable.size(); ++row) {
        const auto &spec = layout::ControlTable[row];
        const bool button = spec.kind == layout::ControlKind::Button;
        DWORD style = WS_CHILD | (spec.visible ? WS_VISIBLE : 0);
        if (button)
            style |= WS_TABSTOP | BS_PUSHBUTTON;
        else
            style |= (spec.align == layout::Align::Centre ? SS_CENTER : SS_LEFT)
                    | (spec.border == layout::Border::Single ? WS_BORDER : 0);
        const auto rect = layout::twipsRect(spec.left, spec.top, spec.width, spec.height, dpi);
        HWND control = CreateWindowExW(0, button ? L"Button" : L"Static",
                wide(spec.caption).c_str(), style, rect.x, rect.y, rect.width, rect.height, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(spec.control))), nullptr,
                nullptr);
        SendMessageW(control, WM_SETFONT,
                reinterpret_cast<WPARAM>(
                        spec.font == layout::FontKind::Large ? baseline.large : small),
                FALSE);
        if (spec.background)
            baseline.brushes[row] = CreateSolidBrush(
                    RGB(spec.background->red, spec.background->green, spec.background->blue));
    }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        for (std::size_t row = 0; row < layout::ControlTable.size(); ++row) {
            const auto &spec = layout::ControlTable[row];
            if (controlId(spec.control) == id && spec.background) {
                SetBkColor(reinterpret_cast<HDC>(wParam),
                        RGB(spec.background->red, spec.background->green, spec.background->blue));
                return reinterpret_cast<LRESULT>(baseline.brushes[row]);
            }
        }
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Velmarsh";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPEDWINDOW;
    const UINT dpi = GetDpiForSystem();
    RECT frame{0, 0, layout::twipsToPixels(layout::ClientWidthTwips, dpi),
            layout::twipsToPixels(layout::ClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, 0, dpi);
    HWND window = CreateWindowExW(0, L"Velmarsh", wide(layout::WindowCaption).c_str(), style,
            CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
            nullptr, nullptr, instance, nullptr);
    createControls(window, dpi);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
