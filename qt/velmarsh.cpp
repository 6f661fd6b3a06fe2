#include "qt/velmarsh.h"

#include "layout/caption_colour.h"
#include "qt/fonts.h"
#include "qt/game_label.h"
#include "qt/key_repeat_filter.h"
#include "qt/program_icon.h"
#include "qt/twips.h"
#include "rules/narration.h"
#include "rules/random_source.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <optional>
#include <string>
#include <utility>

namespace qt {

using namespace layout;

namespace {

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor toQColor(rules::Rgb colour)
{
    return {colour.red, colour.green, colour.blue};
}

// A close asked for while a message box is open waits until the box is
// answered, as the window system's own close already does: the game behind
// the box is not over yet.
class CloseWhileModalGuard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && QApplication::activeModalWidget()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A label with a background of its own draws its caption and border in black or
// white, whichever reads better on that background: the colour scheme's text
// colour is meant for the scheme's own backgrounds, and a dark scheme's light text
// would vanish on the game's white, yellow and cyan.
void paintBackground(QWidget &label, rules::Rgb colour)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    palette.setColor(QPalette::WindowText, toQColor(captionColourOn(colour)));
    label.setPalette(palette);
    label.setAutoFillBackground(true);
}

void applyLabelProperties(GameLabel &label, const ControlSpec &spec, const QPalette &windowPalette)
{
    label.setText(toQString(spec.caption));
    label.setPalette(windowPalette);
    label.setAutoFillBackground(false);
    if (spec.background)
        paintBackground(label, *spec.background);
    label.setBorder(spec.border == Border::Single);
    label.setAlignment(spec.align == Align::Centre ? Qt::AlignHCenter | Qt::AlignVCenter
                                                   : Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

Velmarsh::Velmarsh(rules::RandomSource &random, rules::MessageBox &messages,
        rules::ErrorBoundary::EndProgram endProgram)
    : m_random(random), m_form(std::make_unique<QWidget>()),
      m_game(*this, random, messages, m_arrays), m_boundary(messages, std::move(endProgram))
{
    m_form->setWindowIcon(programIcon());
    m_form->installEventFilter(new CloseWhileModalGuard(m_form.get()));
    createControls();
    openWindow();
    load();
}

Velmarsh::~Velmarsh() = default;

void Velmarsh::createControls()
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row) {
        const ControlSpec &spec = ControlTable[row];
        if (spec.kind == ControlKind::Button) {
            auto *button = new QPushButton(m_form.get());
            button->setAutoDefault(true); // Enter rolls as well as Space
            const auto player = static_cast<std::int16_t>(spec.control.index);
            QObject::connect(button, &QPushButton::clicked, button,
                    [this, player] { Roll_Click(player); });
            m_controls[row] = button;
        } else {
            m_controls[row] = new GameLabel(m_form.get());
        }
        m_controls[row]->setObjectName(toQString(rules::describe(spec.control)));
    }
    QWidget *first = control({rules::name::Roll, 1});
    QWidget *second = control({rules::name::Roll, 2});
    QWidget::setTabOrder(first, second);
    // One filter for both: a repeat's release may reach one button and its press the other.
    auto *repeats = new KeyRepeatFilter(m_form.get());
    first->installEventFilter(repeats);
    second->installEventFilter(repeats);
}

// The window's caption, font and opening size, given once: a new game keeps the
// size and place the player has given the window.
void Velmarsh::openWindow()
{
    m_form->setWindowTitle(toQString(WindowCaption));
    m_form->setFont(windowFont());
    const qreal dpi = m_form->logicalDpiX();
    m_form->resize(layout::twipsToPixels(ClientWidthTwips, dpi), layout::twipsToPixels(ClientHeightTwips, dpi));
}

// Loading gives every control its opening state, whatever the last game left,
// then runs the load step.
void Velmarsh::load()
{
    for (std::size_t row = 0; row < ControlTable.size(); ++row)
        applyOpeningProperties(static_cast<int>(row));
    Form_Load();
    tellTurn(1);
}

void Velmarsh::applyOpeningProperties(int row)
{
    const ControlSpec &spec = ControlTable[static_cast<std::size_t>(row)];
    QWidget *widget = m_controls[static_cast<std::size_t>(row)];
    const qreal dpi = m_form->logicalDpiX();
    widget->setGeometry(twipsRect(spec.left, spec.top, spec.width, spec.height, dpi));
    widget->setFont(spec.font == FontKind::Large ? largeFont() : windowFont());
    widget->setAccessibleDescription(toQString(spec.description));
    if (spec.kind == ControlKind::Label)
        applyLabelProperties(static_cast<GameLabel &>(*widget), spec, m_form->palette());
    else
        static_cast<QPushButton *>(widget)->setText(toQString(spec.caption));
    widget->setVisible(spec.visible);
}

void Velmarsh::Form_Load()
{
    m_random.reseedFromClock();
}

void Velmarsh::Roll_Click(std::int16_t PlayerIndex)
{
    m_boundary.run("Roll_Click(" + std::to_string(PlayerIndex) + ")", [this, PlayerIndex] {
        m_game.Roll_Click(PlayerIndex);
        tellTurn(PlayerIndex);
    });
}

// The Roll button on show takes the keyboard focus, so Space or Enter always rolls
// for the player whose turn it is, and it carries what the turn just did, so that
// a screen reader says it with the button. Both happen once the turn is over: the
// round has closed by then, and the text is in place before the focus arrives.
// The hidden button says again only what it is for.
void Velmarsh::tellTurn(int lastPlayer)
{
    const std::optional<std::string> news = rules::turnNarration(*this, lastPlayer);
    for (const int player : {1, 2}) {
        const rules::Control roll{rules::name::Roll, player};
        QWidget *button = control(roll);
        if (!button->isVisibleTo(m_form.get())) {
            button->setAccessibleDescription(toQString(
                    ControlTable[controlRow(roll)].description));
            continue;
        }
        if (news)
            button->setAccessibleDescription(toQString(*news));
        button->setFocus(Qt::OtherFocusReason);
    }
}

void Velmarsh::show()
{
    m_form->show();
}

QWidget *Velmarsh::control(rules::Control control) const
{
    return m_controls[controlRow(control)];
}

std::string Velmarsh::caption(rules::Control label) const
{
    QWidget *widget = control(label);
    if (auto *text = qobject_cast<QLabel *>(widget))
        return text->text().toStdString();
    return static_cast<QPushButton *>(widget)->text().toStdString();
}

void Velmarsh::setCaption(rules::Control label, std::string_view text)
{
    QWidget *widget = control(label);
    if (auto *shown = qobject_cast<QLabel *>(widget))
        shown->setText(toQString(text));
    else
        static_cast<QPushButton *>(widget)->setText(toQString(text));
}

void Velmarsh::setBackground(rules::Control label, rules::Rgb colour)
{
    paintBackground(*control(label), colour);
}

void Velmarsh::setVisible(rules::Control button, bool visible)
{
    control(button)->setVisible(visible);
}

// A new game loads the same window in place: every control goes back to its
// opening state and the load step runs again, while the window stays on screen
// at its size and place, so it never flickers, keeps the keyboard focus the
// window manager gave it, and never ends the program; the arrays stay.
void Velmarsh::reload()
{
    load();
}

} // namespace qt
