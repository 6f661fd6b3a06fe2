#include "web/velmarsh.h"

#include "layout/caption_colour.h"
#include "layout/twips.h"
#include "rules/narration.h"
#include "rules/random_source.h"
#include "web/dom.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace web {

using namespace layout;

namespace {

// CSS pixels are 96 to the inch at a scale of 1, as the desktop windows' pixels at 96 dpi.
constexpr double CssDpi = 96.0;
// 18 points, and the desktop windows' small face at 7.5 points: the whole rules text
// fits its box at that size.
constexpr int LargeFontPixels = 24;
constexpr int WindowFontPixels = 10;
constexpr int PageColours = -1;

int packed(rules::Rgb colour)
{
    return (colour.red << 16) | (colour.green << 8) | colour.blue;
}

int row(rules::Control control)
{
    return static_cast<int>(controlRow(control));
}

// A label with a background of its own draws its caption and border in black or white,
// whichever reads better on it: the page's text colour is meant for the page's own background.
void paint(int row, rules::Rgb background)
{
    dom_setColours(row, packed(background), packed(captionColourOn(background)));
}

} // namespace

Velmarsh::Velmarsh(rules::RandomSource &random, rules::MessageBox &messages,
        rules::ErrorBoundary::EndProgram endProgram)
    : m_random(random), m_game(*this, random, messages, m_arrays),
      m_boundary(messages, std::move(endProgram))
{
    dom_setTitle(std::string(WindowCaption).c_str());
    dom_createForm(twipsToPixels(ClientWidthTwips, CssDpi), twipsToPixels(ClientHeightTwips, CssDpi));
    createControls();
    load();
    dom_showControls();
    tellTurn(1);
}

void Velmarsh::createControls()
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        const ControlSpec &spec = ControlTable[row];
        const PixelRect place = twipsRect(spec.left, spec.top, spec.width, spec.height, CssDpi);
        const std::string name = rules::describe(spec.control);
        const std::string description(spec.description);
        dom_createControl(static_cast<int>(row),
                spec.kind == ControlKind::Button ? 1 : 0, name.c_str(), description.c_str(),
                place.x, place.y, place.width, place.height);
    }
}

// Loading gives every control its opening state, whatever the last game left, then
// runs the load step. The page keeps its elements: a fresh game restores them in place.
void Velmarsh::load()
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row)
        applyOpeningProperties(row);
    Form_Load();
}

void Velmarsh::applyOpeningProperties(std::size_t row)
{
    const ControlSpec &spec = ControlTable[row];
    const int at = static_cast<int>(row);
    dom_setFont(at, spec.font == FontKind::Large ? LargeFontPixels : WindowFontPixels,
            spec.align == Align::Left ? 1 : 0, spec.border == Border::Single ? 1 : 0);
    setCaption(spec.control, spec.caption);
    if (spec.background)
        paint(at, *spec.background);
    else
        dom_setColours(at, PageColours, PageColours);
    dom_setVisible(at, spec.visible ? 1 : 0);
}

void Velmarsh::Form_Load()
{
    m_random.reseedFromClock();
}

// The page's event loop never runs a second click while a turn waits for the result
// box; this keeps a stray one from reaching the rules all the same.
void Velmarsh::click(std::size_t row)
{
    if (m_inTurn || row >= ControlTable.size() || ControlTable[row].kind != ControlKind::Button)
        return;
    m_inTurn = true;
    Roll_Click(static_cast<std::int16_t>(ControlTable[row].control.index));
    m_inTurn = false;
}

void Velmarsh::Roll_Click(std::int16_t PlayerIndex)
{
    m_boundary.run("Roll_Click(" + std::to_string(PlayerIndex) + ")", [this, PlayerIndex] {
        m_game.Roll_Click(PlayerIndex);
        tellTurn(PlayerIndex);
    });
}

// The page's log tells a screen reader what the turn did and who is to roll, and the
// Roll button on show takes the keyboard focus, so Space or Enter rolls for that player.
void Velmarsh::tellTurn(int lastPlayer)
{
    if (const std::optional<std::string> news = rules::turnNarration(*this, lastPlayer))
        dom_announce(news->c_str());
    for (const int player : {1, 2}) {
        const int roll = row({rules::name::Roll, player});
        if (dom_isVisible(roll) != 0)
            dom_focus(roll);
    }
}

std::string Velmarsh::caption(rules::Control label) const
{
    const std::unique_ptr<char, decltype(&std::free)> text(dom_getCaption(row(label)), &std::free);
    return text ? std::string(text.get()) : std::string();
}

void Velmarsh::setCaption(rules::Control label, std::string_view text)
{
    dom_setCaption(row(label), std::string(text).c_str());
}

void Velmarsh::setBackground(rules::Control label, rules::Rgb colour)
{
    paint(row(label), colour);
}

void Velmarsh::setVisible(rules::Control button, bool visible)
{
    dom_setVisible(row(button), visible ? 1 : 0);
}

// The same elements go back to their opening state and the load step runs again;
// the window object and its arrays stay.
void Velmarsh::reload()
{
    load();
}

} // namespace web
