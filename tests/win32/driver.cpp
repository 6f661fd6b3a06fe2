// Reads the game's window from outside, as a Windows tool would, for the end-to-end tests
// under Wine. One command a line on standard input, one JSON line back on standard output:
//   find             the window "Form1": {"hwnd", "pid", "client": [w, h], "dpi"}
//   controls         every child: ID, class, text, rect in client pixels, style bits;
//                    the control that has the keyboard focus, and the default button's ID
//   boxes            every shown message box: title, text, buttons, owner, whether it shows an icon
//   fit              the face of each of the window's two fonts and whether it is TrueType; each
//                    control's client area and its caption's extent on one line in the large font
//   settext ID TEXT  sets a control's text in the game's process
// Texts are read and set with messages sent to the game's thread: each waits until the game
// has handled everything before it, so no read sees a turn half done.
// An answer with "error" means the window or control was not there, or did not answer.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT AnswerMilliseconds = 5000;

// A message to the game's thread, answered once the game has handled what came before it.
LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    // Wine hands back the answer itself, so an answer of 0 is a failure only with an error set.
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, AnswerMilliseconds, &result)
            && GetLastError() != ERROR_SUCCESS)
        throw std::runtime_error("the game did not answer message " + std::to_string(message)
                + ": error " + std::to_string(GetLastError()));
    return static_cast<LRESULT>(result);
}

std::string utf8(const std::wstring &text)
{
    const int size = WideCharToMultiByte(
            CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
            nullptr, nullptr);
    return out;
}

std::string quoted(const std::wstring &text)
{
    std::string out = "\"";
    for (const char c : utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::wstring text(HWND window)
{
    std::wstring buffer(static_cast<std::size_t>(ask(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    buffer.resize(static_cast<std::size_t>(ask(window, WM_GETTEXT, buffer.size(),
            reinterpret_cast<LPARAM>(buffer.data()))));
    return buffer;
}

std::wstring className(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> children(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(
            parent,
            [](HWND child, LPARAM list) {
                reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND form()
{
    return FindWindowW(L"Velmarsh", L"Form1");
}

std::string find()
{
    HWND window = form();
    if (!window)
        return R"({"error": "no window Form1 of class Velmarsh"})";
    RECT client;
    GetClientRect(window, &client);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char out[160];
    std::snprintf(out, sizeof out, R"({"hwnd": %llu, "pid": %lu, "client": [%ld, %ld], "dpi": %u})",
            static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), pid, client.right,
            client.bottom, GetDpiForWindow(window));
    return out;
}

std::string controls()
{
    HWND window = form();
    if (!window)
        return R"({"error": "no window Form1 of class Velmarsh"})";
    // Asked first: the focus is read once the game has handled what came before.
    const std::string defaultId = std::to_string(LOWORD(ask(window, DM_GETDEFID, 0, 0)));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    std::string out = R"({"focus": )"
            + std::to_string(thread.hwndFocus ? GetDlgCtrlID(thread.hwndFocus) : 0) + R"(, "defid": )"
            + defaultId + R"(, "controls": [)";
    for (HWND child : children(window)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT *>(&rect), 2);
        char fields[200];
        std::snprintf(fields, sizeof fields,
                R"({"id": %d, "rect": [%ld, %ld, %ld, %ld], "style": %lu, "exstyle": %lu, )",
                GetDlgCtrlID(child), rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top,
                static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE)));
        out += std::string(out.back() == '[' ? "" : ", ") + fields + R"("class": )"
                + quoted(className(child)) + R"(, "text": )" + quoted(text(child)) + "}";
    }
    return out + "]}";
}

std::string boxes()
{
    std::vector<HWND> shown;
    EnumWindows(
            [](HWND window, LPARAM list) {
                if (IsWindowVisible(window) && className(window) == L"#32770")
                    reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&shown));
    std::string out = R"({"boxes": [)";
    for (HWND box : shown) {
        std::string message = "\"\"", buttons, icon = "false";
        for (HWND child : children(box)) {
            const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
            if (!(style & WS_VISIBLE))
                continue;
            if (GetDlgCtrlID(child) == 0xFFFF)
                message = quoted(text(child));
            else if (className(child) == L"Button")
                buttons += (buttons.empty() ? "" : ", ") + quoted(text(child));
            else if (className(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON
                    && SendMessageW(child, STM_GETICON, 0, 0))
                icon = "true";
        }
        out += std::string(out.back() == '[' ? "" : ", ") + R"({"title": )" + quoted(text(box))
                + R"(, "text": )" + message + R"(, "buttons": [)" + buttons + R"(], "icon": )"
                + icon + R"(, "owned_by_form": )"
                + (GetWindow(box, GW_OWNER) == form() ? "true" : "false") + "}";
    }
    return out + "]}";
}

std::string setText(const std::wstring &arguments)
{
    const std::size_t blank = arguments.find(L' ');
    HWND control = GetDlgItem(form(), _wtoi(arguments.substr(0, blank).c_str()));
    if (!control || blank == std::wstring::npos)
        return R"({"error": "no such control"})";
    const std::wstring caption = arguments.substr(blank + 1);
    return ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str())) ? R"({"ok": true})"
                                                                                  : R"({"ok": false})";
}

// The window's two fonts as the game makes them at a density (another process cannot use the
// game's own font handles): 18 pt "Microsoft Sans Serif", and the default GUI font scaled
// from the system's density.
HFONT gameFont(bool large, UINT dpi)
{
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(GetDpiForSystem()));
    if (large) {
        font = LOGFONTW{-MulDiv(18, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET,
                OUT_TT_PRECIS, 0, 0, 0, L"Microsoft Sans Serif"};
    }
    return CreateFontIndirectW(&font);
}

// The face each font is drawn in and whether it is TrueType; then every shown control's client
// area and its caption's extent on one line in the large font.
std::string fits()
{
    HWND window = form();
    if (!window)
        return R"({"error": "no window Form1 of class Velmarsh"})";
    const HDC canvas = GetDC(nullptr);
    std::string out = R"({"fonts": [)";
    for (const bool large : {false, true}) {
        DeleteObject(SelectObject(canvas, gameFont(large, GetDpiForWindow(window))));
        TEXTMETRICW metrics{};
        GetTextMetricsW(canvas, &metrics);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(canvas, LF_FACESIZE, face);
        out += std::string(large ? ", " : "") + R"({"face": )" + quoted(face) + R"(, "truetype": )"
                + ((metrics.tmPitchAndFamily & TMPF_TRUETYPE) ? "true}" : "false}");
    }
    out += R"(], "controls": [)";
    for (HWND child : children(window)) {
        RECT client;
        SIZE line{};
        const std::wstring caption = text(child);
        GetClientRect(child, &client);
        GetTextExtentPoint32W(canvas, caption.c_str(), static_cast<int>(caption.size()), &line);
        char fields[120];
        std::snprintf(fields, sizeof fields, R"(%s{"id": %d, "client": [%ld, %ld], "line": [%ld, %ld]})",
                out.back() == '[' ? "" : ", ", GetDlgCtrlID(child), client.right, client.bottom, line.cx, line.cy);
        out += fields;
    }
    DeleteObject(SelectObject(canvas, GetStockObject(SYSTEM_FONT)));
    ReleaseDC(nullptr, canvas);
    return out + "]}";
}

std::wstring wide(const std::string &line)
{
    std::wstring out(line.size(), L'\0');
    out.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, line.data(),
            static_cast<int>(line.size()), out.data(), static_cast<int>(out.size()))));
    return out;
}

} // namespace

int main()
{
    // Sizes in the game's own pixels at every screen density.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string answer;
        try {
            if (line == "find")
                answer = find();
            else if (line == "controls")
                answer = controls();
            else if (line == "boxes")
                answer = boxes();
            else if (line == "fit")
                answer = fits();
            else if (line.rfind("settext ", 0) == 0)
                answer = setText(wide(line.substr(8)));
            else
                answer = R"({"error": "unknown command"})";
        } catch (const std::exception &failure) {
            answer = std::string(R"({"error": )") + quoted(wide(failure.what())) + "}";
        }
        std::printf("%s\n", answer.c_str());
        std::fflush(stdout);
    }
    return 0;
}
