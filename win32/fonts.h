#pragma once

#include "layout/control_table.h"
#include "win32/windows_api.h"

namespace win32 {

// The window's two fonts at one screen density: the large face of the dice,
// scores and headings, and the desktop's default GUI font for the rest.
class Fonts
{
public:
    explicit Fonts(UINT dpi);
    ~Fonts();
    Fonts(const Fonts &) = delete;
    Fonts &operator=(const Fonts &) = delete;

    [[nodiscard]] HFONT font(layout::FontKind kind) const;

private:
    HFONT m_large;
    HFONT m_windowDefault;
};

} // namespace win32
