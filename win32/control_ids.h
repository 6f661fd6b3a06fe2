#pragma once

#include "rules/controls.h"

namespace win32 {

// Every control's ID carries its name and Index (Roll(2) is 102, Die(7) is 207),
// so a click names its Roll button and a reader of the window finds any control.
// IDs 1 and 2 are left alone: the dialog manager sends them for Enter and Escape.
[[nodiscard]] int controlId(rules::Control control);

} // namespace win32
