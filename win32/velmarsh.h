#pragma once

#include "layout/control_table.h"
#include "rules/error_boundary.h"
#include "rules/game.h"
#include "rules/window_arrays.h"
#include "rules/window_operations.h"
#include "win32/accessible_descriptions.h"
#include "win32/brush_cache.h"
#include "win32/fonts.h"
#include "win32/windows_api.h"

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

namespace rules {
class RandomSource;
}

namespace win32 {

class OwnedMessageBox;

// The game's one window object. It lives as long as the program, owns the
// window "Form1" with its 36 STATIC and 2 BUTTON controls and the window-level
// arrays, and routes each click of a Roll button into the rules.
class Velmarsh : public rules::WindowOperations
{
public:
    Velmarsh(rules::RandomSource &random, OwnedMessageBox &messages,
            rules::ErrorBoundary::EndProgram endProgram);
    ~Velmarsh() override;
    Velmarsh(const Velmarsh &) = delete;
    Velmarsh &operator=(const Velmarsh &) = delete;

    void show(int showCommand);

    [[nodiscard]] std::string caption(rules::Control label) const override;
    void setCaption(rules::Control label, std::string_view text) override;
    void setBackground(rules::Control label, rules::Rgb colour) override;
    void setVisible(rules::Control button, bool visible) override;
    void reload() override;

    // The window while it exists; null once it has been closed.
    [[nodiscard]] HWND window() const { return m_form; }
    // The control's window; a control the window does not have is an error.
    [[nodiscard]] HWND control(rules::Control control) const;
    [[nodiscard]] rules::WindowArrays &arrays() { return m_arrays; }

private:
    static LRESULT CALLBACK windowProcedure(
            HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void reportFailure(const std::exception_ptr &failure) noexcept;

    void createWindow();
    void destroyWindow() noexcept;
    void forgetWindow() noexcept;
    void createControls();
    void load();
    void restoreOpeningState();
    void applyOpeningProperties(std::size_t row);
    void setClientSize();
    void placeControls(UINT dpi);
    void Form_Load();
    void Roll_Click(std::int16_t PlayerIndex);

    void onCommand(WPARAM wParam);
    LRESULT colourLabel(HDC canvas, HWND label);
    void onDpiChanged(UINT dpi, const RECT &suggested);
    void replaceIcons(UINT dpi);
    void destroyIcons() noexcept;
    [[nodiscard]] LRESULT defaultButtonId() const;
    [[nodiscard]] HWND showingRoll() const;
    void makeDefault(HWND button);
    void focusShowingRoll();
    void handOverFocus(int player) noexcept;
    void describeControls();
    void narrate(HWND button, int player) noexcept;
    [[nodiscard]] std::optional<std::size_t> rowOf(HWND control) const;

    rules::RandomSource &m_random;
    OwnedMessageBox &m_messages;
    AccessibleDescriptions m_descriptions;
    BrushCache m_brushes;
    std::unique_ptr<Fonts> m_fonts;
    HWND m_form = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    std::array<HWND, layout::ControlCount> m_controls{};
    std::array<std::optional<rules::Rgb>, layout::ControlCount> m_backgrounds{};
    rules::WindowArrays m_arrays;
    rules::Game m_game;
    rules::ErrorBoundary m_boundary;
};

} // namespace win32
