#include "rules/clock_random.h"
#include "rules/controls.h"
#include "win32/message_loop.h"
#include "win32/owned_message_box.h"
#include "win32/velmarsh.h"

#include <exception>

// The parameters keep the names the system declares them with.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int nShowCmd)
{
    rules::ClockRandom random;
    win32::OwnedMessageBox messages;
    try {
        win32::Velmarsh Velmarsh(random, messages, [](int exitCode) { PostQuitMessage(exitCode); });
        Velmarsh.show(nShowCmd);
        return win32::runMessageLoop([&Velmarsh] { return Velmarsh.window(); });
    } catch (const std::exception &error) {
        messages.show(rules::ApplicationTitle, error.what());
        return rules::ErrorBoundary::FailureExitCode;
    }
}
