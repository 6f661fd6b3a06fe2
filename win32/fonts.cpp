#include "win32/fonts.h"

namespace win32 {

namespace {

constexpr int LargePoints = 18;
constexpr int PointsPerInch = 72;

// 18 pt in the TrueType face of the window's classic sans serif design: its
// bitmap namesake would turn blocky at 125 % and beyond.
HFONT createLarge(UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(LargePoints, static_cast<int>(dpi), PointsPerInch);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    lstrcpynW(font.lfFaceName, L"Microsoft Sans Serif", LF_FACESIZE);
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
