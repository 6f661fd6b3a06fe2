#pragma once

#include "rules/message_box.h"

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Answers every box at once and keeps what it showed.
class RecordingMessageBox : public rules::MessageBox
{
public:
    struct Shown
    {
        std::string title;
        std::string text;
    };

    void show(std::string_view title, std::string_view text) override
    {
        shown.push_back({std::string(title), std::string(text)});
        if (whileOpen)
            whileOpen();
    }

    std::vector<Shown> shown;
    // Runs while the box is "open", for tests of what happens behind it.
    std::function<void()> whileOpen;
};

} // namespace testing_support
