#include "web/velmarsh.h"

#include "layout/caption_colour.h"
#include "layout/control_table.h"
#include "rules/narration.h"
#include "rules/recording_random.h"
#include "rules/saved_game.h"
#include "web/dom.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace web {

using namespace layout;

namespace {

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

std::string takeText(char *text)
{
    const std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
    return owned ? std::string(owned.get()) : std::string();
}

} // namespace

Velmarsh::Velmarsh(rules::RecordingRandom &random, rules::MessageBox &messages,
        rules::ErrorBoundary::EndProgram endProgram)
    : m_random(random), m_game(*this, random, messages, m_arrays),
      m_boundary(messages, std::move(endProgram))
{
    adoptControls();
    load();
    restoreKeptGame();
}

// The page was built with the opening board of this same table; a page from another
// build would put the rules' captions on the wrong controls.
void Velmarsh::adoptControls()
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        const ControlSpec &spec = ControlTable[row];
        const std::string name = rules::describe(spec.control);
        if (dom_adoptControl(static_cast<int>(row), name.c_str(),
                    spec.kind == ControlKind::Button ? 1 : 0) == 0)
            throw std::runtime_error("the page has no control " + name + " in its place");
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

// The game this tab was playing before the page was loaded again, played back through
// the rules from its dice; what cannot be read gives way to a fresh game.
void Velmarsh::restoreKeptGame()
{
    const std::string kept = takeText(dom_keptGame());
    if (!kept.empty() && !rules::restoreGame(kept, m_game, m_random)) {
        load();
        keepGame();
        dom_announce("The game kept from before could not be read, so a new game begins.");
    }
    tellTurn(dom_isVisible(row({rules::name::Roll, 1})) != 0 ? 2 : 1);
}

void Velmarsh::keepGame()
{
    dom_keepGame(rules::savedGame(m_random.draws()).c_str());
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

// A turn that fails is not kept: a reload goes on from the last turn that was played.
void Velmarsh::Roll_Click(std::int16_t PlayerIndex)
{
    m_boundary.run("Roll_Click(" + std::to_string(PlayerIndex) + ")", [this, PlayerIndex] {
        m_game.Roll_Click(PlayerIndex);
        keepGame();
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
    return takeText(dom_getCaption(row(label)));
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
