#pragma once

#include "rules/message_box.h"

namespace web {

// The page's result box: a modal dialog over the window with one OK button. The turn
// that shows it waits, its stack set aside by Asyncify, until the player closes it.
class DomMessageBox : public rules::MessageBox
{
public:
    void show(std::string_view title, std::string_view text) override;
};

} // namespace web
