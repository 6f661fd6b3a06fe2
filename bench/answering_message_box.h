#pragma once

#include "rules/message_box.h"

#include <string_view>

namespace bench {

// The result box answered at once, keeping nothing but a count, so that a long run
// plays game after game without growing a record of every box.
class AnsweringMessageBox : public rules::MessageBox
{
public:
    void show(std::string_view, std::string_view) override { ++shown; }

    long shown = 0;
};

} // namespace bench
