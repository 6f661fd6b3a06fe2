#pragma once

#include "dice_outcome.h"
#include "fake_window.h"
#include "recording_message_box.h"
#include "scripted_random.h"

#include "layout/control_table.h"
#include "rules/error.h"
#include "rules/game.h"
#include "rules/window_arrays.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace game_testing {

using rules::Control;
using rules::Rgb;
using testing_support::Dice;
using testing_support::Outcome;
using testing_support::outcomeOf;

inline constexpr Rgb White{255, 255, 255}, Cyan{0, 255, 255}, Green{0, 255, 0}, Red{255, 0, 0};

// The categories by group size 2..6: highlight label, match sum, colour when lit.
struct Category
{
    std::string_view label;
    std::string_view sum;
    Rgb lit;
};
inline constexpr std::array<Category, 5> Categories{{{"Pair", "L2", {255, 255, 0}},
        {"Triple", "L3", {255, 191, 0}}, {"Quad", "L4", {255, 127, 0}},
        {"Quint", "L5", {255, 63, 0}}, {"Tornel", "L6", {255, 0, 0}}}};

inline std::string rgbText(Rgb c)
{
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

// The in-memory window keeping a log of the captions and colours written to it and of
// its reloads; a frozen caption ignores what is written to it.
class LoggingWindow : public testing_support::FakeWindow
{
public:
    void setCaption(Control label, std::string_view text) override
    {
        if (frozen != label)
            FakeWindow::setCaption(label, text);
        note(rules::describe(label) + "=" + std::string(text));
    }
    void setBackground(Control label, Rgb colour) override
    {
        FakeWindow::setBackground(label, colour);
        note(rules::describe(label) + " " + rgbText(colour));
    }
    void reload() override
    {
        FakeWindow::reload();
        note("reload");
    }
    [[nodiscard]] std::vector<std::string> changes(std::string_view prefix) const
    {
        std::vector<std::string> found;
        for (const std::string &entry : log)
            if (entry.starts_with(prefix))
                found.push_back(entry);
        return found;
    }

    std::vector<std::string> log;
    bool logging = true;
    std::optional<Control> frozen;

private:
    void note(std::string entry)
    {
        if (logging)
            log.push_back(std::move(entry));
    }
};

class GameFixture : public ::testing::Test
{
protected:
    void click(int player, const Dice &dice)
    {
        random.queueFaces(std::vector<int>(dice.begin(), dice.end()));
        game.Roll_Click(static_cast<std::int16_t>(player));
    }
    std::string caption(std::string_view name, int index = 0) const
    {
        return window.caption({name, index});
    }
    // Sets up a caption without logging it.
    void setCaption(std::string_view name, int index, std::string_view text)
    {
        window.FakeWindow::setCaption({name, index}, text);
    }
    Rgb background(std::string_view name, int index) const
    {
        return window.state({name, index}).background;
    }
    bool visible(std::string_view name, int index) const
    {
        return window.state({name, index}).visible;
    }
    std::string gainColours() const
    {
        return rgbText(background("Gain", 1)) + "; " + rgbText(background("Gain", 2));
    }
    template <typename Action> static std::optional<rules::GameError> errorFrom(Action &&action)
    {
        try {
            action();
        } catch (const rules::GameError &error) {
            return error;
        }
        return std::nullopt;
    }

    LoggingWindow window;
    testing_support::ScriptedRandom random;
    testing_support::RecordingMessageBox messages;
    rules::WindowArrays arrays;
    rules::Game game{window, random, messages, arrays};
};

// Every control shows the same caption, colour and visibility in both windows.
inline ::testing::AssertionResult sameWindow(const testing_support::FakeWindow &window,
        const testing_support::FakeWindow &other)
{
    for (const auto &row : layout::ControlTable) {
        const auto &now = window.state(row.control), &then = other.state(row.control);
        if (now.caption != then.caption || now.background != then.background
                || now.visible != then.visible)
            return ::testing::AssertionFailure() << rules::describe(row.control) << " differs";
    }
    return ::testing::AssertionSuccess();
}

// Every control as a freshly loaded window shows it.
inline ::testing::AssertionResult inOpeningState(const testing_support::FakeWindow &window)
{
    return sameWindow(window, testing_support::FakeWindow());
}

} // namespace game_testing
