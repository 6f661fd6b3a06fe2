#pragma once

class QIcon;

namespace qt {

// The program's icon: a die showing five, as a 32 x 32 image in 2 colours,
// a 32 x 32 image in 16 colours and a 16 x 16 image in 16 colours, with a
// 64 x 64 image in 16 colours so that the 32 px icon stays sharp at ratio 2.
[[nodiscard]] QIcon programIcon();

} // namespace qt
