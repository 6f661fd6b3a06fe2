#include "win32/fonts.h"

namespace win32 {

namespace {

constexpr int LargePoints = 18;
constexpr int PointsPerInch = 72;

// 18 pt "MS Sans Serif", which Windows maps to its successor face.
HFONT createLarge(UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(LargePoints, static_cast<int>(dpi), PointsPerInch);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    lstrcpynW(font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

// The default GUI font is made for the system's density; scaled to the window's.
HFONT createWindowDefault(UINT dpi)
{
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight =
            MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(GetDpiForSystem()));
    return CreateFontIndirectW(&font);
}

} // namespace

Fonts::Fonts(UINT dpi) : m_large(createLarge(dpi)), m_windowDefault(createWindowDefault(dpi)) {}

Fonts::~Fonts()
{
    DeleteObject(m_large);
    DeleteObject(m_windowDefault);
}

HFONT Fonts::font(layout::FontKind kind) const
{
    return kind == layout::FontKind::Large ? m_large : m_windowDefault;
}

} // namespace win32
