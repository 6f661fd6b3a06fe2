#pragma once

#include "win32/windows_api.h"

namespace win32 {

// Runs the program's messages until it ends, with the keys of a dialog (Tab,
// Space, Enter, Escape) in the window; returns the program's exit status.
[[nodiscard]] int runMessageLoop(HWND window);

} // namespace win32
