#pragma once

#include "rules/error_boundary.h"
#include "rules/game.h"
#include "rules/window_arrays.h"
#include "rules/window_operations.h"

#include <cstddef>
#include <cstdint>

namespace rules {
class MessageBox;
class RecordingRandom;
} // namespace rules

namespace web {

// The game's one window object on the page. It lives as long as the page, takes over
// the 38 controls that the page's opening board already shows in #form, holds the
// window-level arrays, routes each click of a Roll button into the rules, and keeps
// the game in progress for a reload of the page.
class Velmarsh : public rules::WindowOperations
{
public:
    // Fails when the page's board is not the one this program was built with.
    Velmarsh(rules::RecordingRandom &random, rules::MessageBox &messages,
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
    void adoptControls();
    void load();
    void applyOpeningProperties(std::size_t row);
    void Form_Load();
    void Roll_Click(std::int16_t PlayerIndex);
    void restoreKeptGame();
    void keepGame();
    void tellTurn(int lastPlayer);

    rules::RecordingRandom &m_random;
    rules::WindowArrays m_arrays;
    rules::Game m_game;
    rules::ErrorBoundary m_boundary;
    bool m_inTurn = false;
};

} // namespace web
