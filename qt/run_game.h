#pragma once

#include <functional>

namespace qt {

class Velmarsh;

// The whole program: the application, the clock's dice, the real message box and the
// window, running until the window is closed or a failed step ends the program. Returns
// the program's exit status: 0 after a close, non-zero after a failure. shown, if given,
// runs once the window shows, before the first event.
int runGame(int argc, char *argv[], const std::function<void(Velmarsh &)> &shown = {});

} // namespace qt
