#include "win32/brush_cache.h"

namespace win32 {

COLORREF toColorRef(rules::Rgb colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

BrushCache::~BrushCache()
{
    for (const auto &[colour, brush] : m_brushes)
        DeleteObject(brush);
}

HBRUSH BrushCache::brush(rules::Rgb colour)
{
    const COLORREF key = toColorRef(colour);
    const auto found = m_brushes.find(key);
    if (found != m_brushes.end())
        return found->second;
    return m_brushes.emplace(key, CreateSolidBrush(key)).first->second;
}

} // namespace win32
