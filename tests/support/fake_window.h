#pragma once

#include "layout/control_table.h"
#include "rules/window_operations.h"

#include <map>
#include <string>
#include <utility>

namespace testing_support {

// An in-memory window with the 38 controls in their opening state; it knows
// the same controls as the real one and fails the same way on unknown ones.
class FakeWindow : public rules::WindowOperations
{
public:
    struct State
    {
        std::string caption;
        rules::Rgb background;
        bool visible = true;
    };

    FakeWindow() { load(); }

    [[nodiscard]] std::string caption(rules::Control label) const override
    {
        return state(label).caption;
    }
    void setCaption(rules::Control label, std::string_view text) override
    {
        state(label).caption = std::string(text);
        ++operations;
    }
    void setBackground(rules::Control label, rules::Rgb colour) override
    {
        state(label).background = colour;
        ++operations;
    }
    void setVisible(rules::Control button, bool visible) override
    {
        state(button).visible = visible;
        ++operations;
    }
    void reload() override
    {
        ++reloads;
        load();
    }

    [[nodiscard]] State &state(rules::Control control)
    {
        return const_cast<State &>(std::as_const(*this).state(control));
    }
    [[nodiscard]] const State &state(rules::Control control) const
    {
        return m_states.at(static_cast<int>(layout::controlRow(control)));
    }

    int reloads = 0;
    long operations = 0;

private:
    void load()
    {
        m_states.clear();
        for (std::size_t row = 0; row < layout::ControlTable.size(); ++row) {
            const layout::ControlSpec &spec = layout::ControlTable[row];
            m_states[static_cast<int>(row)] = {std::string(spec.caption),
                    spec.background.value_or(rules::Rgb{}), spec.visible};
        }
    }

    std::map<int, State> m_states;
};

} // namespace testing_support
