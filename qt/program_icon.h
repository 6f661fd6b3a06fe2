#pragma once

class QIcon;

namespace qt {

// The program's icon: a die showing five, as a 32 x 32 image in 2 colours,
// a 32 x 32 image in 16 colours and a 16 x 16 image in 16 colours.
[[nodiscard]] QIcon programIcon();

} // namespace qt
