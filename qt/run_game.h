#pragma once

namespace qt {

// The whole program: the application, the clock's dice, the real message box and the
// window, running until the window is closed or a failed step ends the program. Returns
// the program's exit status: 0 after a close, non-zero after a failure.
int runGame(int argc, char *argv[]);

} // namespace qt
