#pragma once

#include <string_view>

namespace rules {

// A modal message box with an OK button only; returns once the player has closed it.
class MessageBox
{
public:
    virtual ~MessageBox() = default;

    virtual void show(std::string_view title, std::string_view text) = 0;
};

} // namespace rules
