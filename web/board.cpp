// The page's opening board, written at build time from the one control table, so that
// the page shows the whole window before its program has arrived: the 38 controls as
// HTML, their descriptions for a screen reader, and their places, fonts and colours as
// CSS. The program later takes over these very elements (web/dom.js).
//
//   node board.js   prints {"title", "controls", "descriptions", "css"} as JSON
#include "layout/caption_colour.h"
#include "layout/control_table.h"
#include "layout/twips.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

using namespace layout;

// CSS pixels are 96 to the inch at a scale of 1, as the desktop windows' pixels at 96 dpi.
constexpr double CssDpi = 96.0;
// 18 points, and the desktop windows' small face at 7.5 points: the whole rules text
// fits its box at that size.
constexpr int LargeFontPixels = 24;
constexpr int WindowFontPixels = 10;

std::string escapedHtml(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string jsonString(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (c == '\n')
            quoted += "\\n";
        else
            quoted += c;
    }
    return quoted + "\"";
}

std::string cssColour(rules::Rgb colour)
{
    return "rgb(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", "
            + std::to_string(colour.blue) + ")";
}

// A length of the window in its own pixels, scaled with the board.
std::string scaled(int pixels)
{
    return "calc(" + std::to_string(pixels) + " * var(--u))";
}

std::string controlElement(std::size_t row)
{
    const ControlSpec &spec = ControlTable[row];
    const bool button = spec.kind == ControlKind::Button;
    std::string classes = "control";
    classes += spec.font == FontKind::Large ? " large" : " small";
    if (spec.border == Border::Single)
        classes += " bordered";
    if (spec.align == Align::Left)
        classes += " left";
    std::string element = button ? "<button type=\"button\" aria-disabled=\"true\"" : "<div";
    element += " class=\"" + classes + "\" data-control=\"" + rules::describe(spec.control)
            + "\" aria-describedby=\"description-" + std::to_string(row) + "\"";
    if (!spec.visible)
        element += " hidden";
    element += ">" + escapedHtml(spec.caption) + (button ? "</button>" : "</div>");
    return element + "\n";
}

std::string description(std::size_t row)
{
    return "<span id=\"description-" + std::to_string(row) + "\">"
            + escapedHtml(ControlTable[row].description) + "</span>\n";
}

// A label with a background of its own draws its caption and border in black or white,
// whichever reads better on it; the others take the page's colours.
std::string controlRule(std::size_t row)
{
    const ControlSpec &spec = ControlTable[row];
    const PixelRect place = twipsRect(spec.left, spec.top, spec.width, spec.height, CssDpi);
    std::string rule = "[data-control=\"" + rules::describe(spec.control) + "\"] { left: "
            + scaled(place.x) + "; top: " + scaled(place.y) + "; width: " + scaled(place.width)
            + "; height: " + scaled(place.height) + ";";
    if (spec.background)
        rule += " background-color: " + cssColour(*spec.background)
                + "; color: " + cssColour(captionColourOn(*spec.background)) + ";";
    return rule + " }\n";
}

std::string boardCss()
{
    std::string css = ":root { --client-width: "
            + std::to_string(twipsToPixels(ClientWidthTwips, CssDpi)) + "; --client-height: "
            + std::to_string(twipsToPixels(ClientHeightTwips, CssDpi)) + "; }\n";
    css += ".control.large { font-size: " + scaled(LargeFontPixels) + "; }\n";
    css += ".control.small { font-size: " + scaled(WindowFontPixels) + "; }\n";
    for (std::size_t row = 0; row < ControlTable.size(); ++row)
        css += controlRule(row);
    return css;
}

} // namespace

int main()
{
    std::string controls;
    std::string descriptions;
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        controls += controlElement(row);
        descriptions += description(row);
    }
    const std::string json = "{\"title\": " + jsonString(WindowCaption)
            + ",\n\"controls\": " + jsonString(controls) + ",\n\"descriptions\": "
            + jsonString(descriptions) + ",\n\"css\": " + jsonString(boardCss()) + "}\n";
    std::fputs(json.c_str(), stdout);
    return 0;
}
