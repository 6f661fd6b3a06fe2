// The game window's own lifetime on Windows: a window the player closes is forgotten at once,
// a load that fails leaves no window, the object ends cleanly, a reload is painted at once.
#include "scripted_random.h"
#include "win32/owned_message_box.h"
#include "win32/velmarsh.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A random source whose reseeding fails, so the load step fails.
class BrokenClock : public testing_support::ScriptedRandom
{
public:
    void reseedFromClock() override { throw std::runtime_error("no clock"); }
};

void endNothing(int) {}

TEST(WindowLifetime, AClosedWindowIsForgottenAndTheObjectEndsCleanly)
{
    testing_support::ScriptedRandom random;
    win32::OwnedMessageBox messages;
    HWND closed = nullptr;
    {
        win32::Velmarsh Velmarsh(random, messages, endNothing);
        closed = Velmarsh.window();
        SendMessageW(closed, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(closed));
        EXPECT_EQ(Velmarsh.window(), nullptr);
    }
    EXPECT_EQ(FindWindowW(L"Velmarsh", nullptr), nullptr);
}

TEST(WindowLifetime, AFailedLoadLeavesNoWindow)
{
    BrokenClock random;
    win32::OwnedMessageBox messages;
    EXPECT_THROW(win32::Velmarsh(random, messages, endNothing), std::runtime_error);
    EXPECT_EQ(FindWindowW(L"Velmarsh", nullptr), nullptr);
}

// A control left to paint later would show the last game's colours until then.
TEST(WindowLifetime, AReloadLeavesNoControlToPaintLater)
{
    testing_support::ScriptedRandom random;
    win32::OwnedMessageBox messages;
    win32::Velmarsh Velmarsh(random, messages, endNothing);
    Velmarsh.show(SW_SHOWNOACTIVATE);
    Velmarsh.setBackground({rules::name::Pair, 1}, rules::colour::Yellow);
    Velmarsh.reload();
    for (const layout::ControlSpec &spec : layout::ControlTable)
        EXPECT_FALSE(GetUpdateRect(Velmarsh.control(spec.control), nullptr, FALSE))
                << rules::describe(spec.control);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
