#pragma once

#include "win32/windows_api.h"

#include <functional>

namespace win32 {

// Runs the program's messages until it ends, with the keys of a dialog (Tab,
// Space, Enter, Escape) in the game's window while it exists, a held Enter
// counting as one press; returns the
// program's exit status. The window is asked for at each message: once closed,
// its handle is never used again.
[[nodiscard]] int runMessageLoop(const std::function<HWND()> &window);

} // namespace win32
