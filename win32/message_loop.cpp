#include "win32/message_loop.h"

namespace win32 {

namespace {

// A repeat of a held Enter: the system marks it with the key's previous state, down.
bool isEnterRepeat(const MSG &message)
{
    constexpr LPARAM WasDown = LPARAM{1} << 30;
    return message.message == WM_KEYDOWN && message.wParam == VK_RETURN
            && (message.lParam & WasDown);
}

} // namespace

int runMessageLoop(const std::function<HWND()> &window)
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return 1;
        // A held Enter is one press: the dialog keys click the default button on
        // every key-down, and each click is a turn. Space clicks on its key-up only.
        if (isEnterRepeat(message))
            continue;
        const HWND dialog = window();
        if (dialog && IsDialogMessageW(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace win32
