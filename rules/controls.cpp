#include "rules/controls.h"

namespace rules {

std::string describe(Control control)
{
    std::string text(control.name);
    if (control.index != 0)
        text += "(" + std::to_string(control.index) + ")";
    return text;
}

} // namespace rules
