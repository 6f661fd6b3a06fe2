#pragma once

#include "rules/controls.h"
#include "rules/rgb.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace layout {

enum class ControlKind { Label, Button };
enum class Border { None, Single };
enum class Align { Centre, Left };
enum class FontKind { Large, WindowDefault };

// One control of the window as it stands when the window has just been loaded.
// Positions and sizes are in twips from the client area's top-left corner.
struct ControlSpec
{
    rules::Control control;
    ControlKind kind;
    std::string_view caption;
    int left;
    int top;
    int width;
    int height;
    bool visible;
    std::optional<rules::Rgb> background; // none: the window's own face colour
    Border border;
    Align align;
    FontKind font;
    std::string_view description; // what the control is, for a player who cannot see it
};

inline constexpr int ControlCount = 38;
inline constexpr int ClientWidthTwips = 5265;
inline constexpr int ClientHeightTwips = 4335;
inline constexpr std::string_view WindowCaption = "Form1";

extern const std::array<ControlSpec, ControlCount> ControlTable;

// Index into ControlTable, or -1 when the window has no such control.
[[nodiscard]] int findControl(rules::Control control);

// The row of a control the window has; any other control is an error (NoSuchControl).
[[nodiscard]] std::size_t controlRow(rules::Control control);

} // namespace layout
