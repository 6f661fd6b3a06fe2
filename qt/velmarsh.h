#pragma once

#include "layout/control_table.h"
#include "rules/error_boundary.h"
#include "rules/game.h"
#include "rules/window_arrays.h"
#include "rules/window_operations.h"

#include <array>
#include <cstdint>
#include <memory>

class QWidget;

namespace rules {
class MessageBox;
class RandomSource;
} // namespace rules

namespace qt {

// The game's one window object. It lives as long as the program, owns the
// window with its 38 controls and the window-level arrays, and routes each
// click of a Roll button into the rules.
class Velmarsh : public rules::WindowOperations
{
public:
    Velmarsh(rules::RandomSource &random, rules::MessageBox &messages,
            rules::ErrorBoundary::EndProgram endProgram);
    ~Velmarsh() override;
    Velmarsh(const Velmarsh &) = delete;
    Velmarsh &operator=(const Velmarsh &) = delete;

    void show();

    [[nodiscard]] std::string caption(rules::Control label) const override;
    void setCaption(rules::Control label, std::string_view text) override;
    void setBackground(rules::Control label, rules::Rgb colour) override;
    void setVisible(rules::Control button, bool visible) override;
    void reload() override;

    [[nodiscard]] QWidget *window() const { return m_form.get(); }
    // The control's widget; a control the window does not have is an error.
    [[nodiscard]] QWidget *control(rules::Control control) const;
    [[nodiscard]] rules::WindowArrays &arrays() { return m_arrays; }

private:
    void createControls();
    void openWindow();
    void load();
    void applyOpeningProperties(int row);
    void Form_Load();
    void Roll_Click(std::int16_t PlayerIndex);
    void tellTurn(int lastPlayer);

    rules::RandomSource &m_random;
    std::unique_ptr<QWidget> m_form;
    std::array<QWidget *, layout::ControlCount> m_controls{};
    rules::WindowArrays m_arrays;
    rules::Game m_game;
    rules::ErrorBoundary m_boundary;
};

} // namespace qt
