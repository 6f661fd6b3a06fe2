#pragma once

#include "layout/control_table.h"
#include "rules/error_boundary.h"
#include "rules/game.h"
#include "rules/window_arrays.h"
#include "rules/window_operations.h"

#include <cstddef>
#include <cstdint>

namespace rules {
class MessageBox;
class RandomSource;
} // namespace rules

namespace web {

// The game's one window object on the page. It lives as long as the page, owns
// the 38 controls of the client area #form and the window-level arrays, and
// routes each click of a Roll button into the rules.
class Velmarsh : public rules::WindowOperations
{
public:
    Velmarsh(rules::RandomSource &random, rules::MessageBox &messages,
            rules::ErrorBoundary::EndProgram endProgram);
    ~Velmarsh() override = default;
    Velmarsh(const Velmarsh &) = delete;
    Velmarsh &operator=(const Velmarsh &) = delete;

    // A click on the control in `row` of the control table; only the Roll buttons answer it.
    void click(std::size_t row);

    [[nodiscard]] std::string caption(rules::Control label) const override;
    void setCaption(rules::Control label, std::string_view text) override;
    void setBackground(rules::Control label, rules::Rgb colour) override;
    void setVisible(rules::Control button, bool visible) override;
    void reload() override;

private:
    void createControls();
    void load();
    void applyOpeningProperties(std::size_t row);
    void Form_Load();
    void Roll_Click(std::int16_t PlayerIndex);
    void tellTurn(int lastPlayer);

    rules::RandomSource &m_random;
    rules::WindowArrays m_arrays;
    rules::Game m_game;
    rules::ErrorBoundary m_boundary;
    bool m_inTurn = false;
};

} // namespace web
