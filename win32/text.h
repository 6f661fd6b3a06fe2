#pragma once

#include <string>
#include <string_view>

namespace win32 {

// Captions are UTF-8 in the rules and UTF-16 in the Windows API.
[[nodiscard]] std::wstring toWide(std::string_view text);
[[nodiscard]] std::string toUtf8(std::wstring_view text);

} // namespace win32
