#pragma once

#include "rules/message_box.h"
#include "win32/windows_api.h"

namespace win32 {

// The game's message box: the system's own, owned by the game window so that
// the window takes no click while it is open, with an OK button and no icon.
class OwnedMessageBox : public rules::MessageBox
{
public:
    void setOwner(HWND owner) { m_owner = owner; }
    // While a box is open the game behind it is not over: a close must wait.
    [[nodiscard]] bool isOpen() const { return m_open > 0; }

    void show(std::string_view title, std::string_view text) override;

private:
    HWND m_owner = nullptr;
    int m_open = 0;
};

} // namespace win32
