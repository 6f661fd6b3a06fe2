#pragma once

#include "rules/controls.h"
#include "rules/rgb.h"

#include <string>
#include <string_view>

namespace rules {

// What the rules may do to the window. Every operation on a control that does
// not exist raises ErrorKind::NoSuchControl.
class WindowOperations
{
public:
    virtual ~WindowOperations() = default;

    [[nodiscard]] virtual std::string caption(Control label) const = 0;
    virtual void setCaption(Control label, std::string_view text) = 0;
    virtual void setBackground(Control label, Rgb colour) = 0;
    virtual void setVisible(Control button, bool visible) = 0;
    // Unloads the window and loads it again: every control back in its opening
    // state and the load step run again, without ending the program.
    virtual void reload() = 0;
};

} // namespace rules
