#include "rules/clock_random.h"
#include "win32/message_loop.h"
#include "win32/owned_message_box.h"
#include "win32/velmarsh.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    rules::ClockRandom random;
    win32::OwnedMessageBox messages;
    win32::Velmarsh Velmarsh(random, messages, [](int exitCode) { PostQuitMessage(exitCode); });
    Velmarsh.show(showCommand);
    return win32::runMessageLoop(Velmarsh.window());
}
