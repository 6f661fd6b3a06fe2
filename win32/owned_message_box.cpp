#include "win32/owned_message_box.h"

#include "win32/text.h"

#include <string>

namespace win32 {

void OwnedMessageBox::show(std::string_view title, std::string_view text)
{
    const std::wstring wideTitle = toWide(title);
    const std::wstring wideText = toWide(text);
    ++m_open;
    MessageBoxW(m_owner, wideText.c_str(), wideTitle.c_str(), MB_OK | MB_APPLMODAL);
    --m_open;
}

} // namespace win32
