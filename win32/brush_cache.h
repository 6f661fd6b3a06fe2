#pragma once

#include "rules/rgb.h"
#include "win32/windows_api.h"

#include <map>

namespace win32 {

// One solid brush per background colour, made the first time the colour is
// painted and kept until the window object goes.
class BrushCache
{
public:
    BrushCache() = default;
    ~BrushCache();
    BrushCache(const BrushCache &) = delete;
    BrushCache &operator=(const BrushCache &) = delete;

    [[nodiscard]] HBRUSH brush(rules::Rgb colour);

private:
    std::map<COLORREF, HBRUSH> m_brushes;
};

[[nodiscard]] COLORREF toColorRef(rules::Rgb colour);

} // namespace win32
