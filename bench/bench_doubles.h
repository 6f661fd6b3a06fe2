#pragma once

#include "layout/control_table.h"
#include "rules/error.h"
#include "rules/message_box.h"
#include "rules/window_operations.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace bench {

// A message box that the player answers at once and that keeps nothing, so a
// long run does not grow a record of every box.
class AnsweringMessageBox : public rules::MessageBox
{
public:
    void show(std::string_view, std::string_view) override { ++shown; }

    long shown = 0;
};

// An in-memory window like tests/support/fake_window.h, but lean: its states
// sit in a flat array and a control is found through a small hash table built
// once from the layout table, instead of the layout table's linear search and
// a std::map. It knows the same 38 controls and fails the same way on others.
class LeanWindow : public rules::WindowOperations
{
public:
    struct State
    {
        std::string caption;
        rules::Rgb background;
        bool visible = true;
    };

    LeanWindow()
    {
        for (std::size_t row = 0; row < layout::ControlTable.size(); ++row) {
            const rules::Control control = layout::ControlTable[row].control;
            std::size_t slot = hash(control) & SlotMask;
            while (m_rows[slot] >= 0)
                slot = (slot + 1) & SlotMask;
            m_rows[slot] = static_cast<int>(row);
        }
        load();
    }

    [[nodiscard]] std::string caption(rules::Control label) const override
    {
        return m_states[row(label)].caption;
    }
    void setCaption(rules::Control label, std::string_view text) override
    {
        m_states[row(label)].caption.assign(text);
    }
    void setBackground(rules::Control label, rules::Rgb colour) override
    {
        m_states[row(label)].background = colour;
    }
    void setVisible(rules::Control button, bool visible) override
    {
        m_states[row(button)].visible = visible;
    }
    void reload() override
    {
        ++reloads;
        load();
    }

    [[nodiscard]] const State &state(rules::Control control) const
    {
        return m_states[row(control)];
    }

    long reloads = 0;

private:
    static constexpr std::size_t SlotCount = 256;
    static constexpr std::size_t SlotMask = SlotCount - 1;

    // Length, first and last letter and index spread the 38 controls over the
    // table; a collision only costs a probe.
    static std::size_t hash(rules::Control control)
    {
        const std::string_view name = control.name;
        if (name.empty())
            return static_cast<std::size_t>(control.index);
        return name.size() * 97U + static_cast<unsigned char>(name.front()) * 7U
                + static_cast<unsigned char>(name.back()) * 3U
                + static_cast<std::size_t>(control.index) * 41U;
    }

    static bool same(rules::Control wanted, rules::Control known)
    {
        return wanted.index == known.index && wanted.name.size() == known.name.size()
                && (wanted.name.data() == known.name.data() || wanted.name == known.name);
    }

    [[nodiscard]] std::size_t row(rules::Control control) const
    {
        std::size_t slot = hash(control) & SlotMask;
        for (;;) {
            const int found = m_rows[slot];
            if (found < 0)
                throw rules::GameError(rules::ErrorKind::NoSuchControl, rules::describe(control));
            if (same(control, layout::ControlTable[static_cast<std::size_t>(found)].control))
                return static_cast<std::size_t>(found);
            slot = (slot + 1) & SlotMask;
        }
    }

    void load()
    {
        for (std::size_t r = 0; r < layout::ControlTable.size(); ++r) {
            const auto &entry = layout::ControlTable[r];
            m_states[r] = {std::string(entry.caption), entry.background.value_or(rules::Rgb{}),
                    entry.visible};
        }
    }

    std::array<int, SlotCount> m_rows = filled();
    std::array<State, layout::ControlCount> m_states{};

    static constexpr std::array<int, SlotCount> filled()
    {
        std::array<int, SlotCount> rows{};
        rows.fill(-1);
        return rows;
    }
};

} // namespace bench
