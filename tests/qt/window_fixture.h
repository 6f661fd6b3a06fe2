#pragma once

#include "dice_outcome.h"
#include "layout/control_table.h"
#include "qt/fonts.h"
#include "qt/game_label.h"
#include "qt/velmarsh.h"
#include "recording_message_box.h"
#include "rules/controls.h"
#include "scripted_random.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstddef>
#include <string_view>
#include <vector>

namespace window_tests {

// At 96 dpi, the platform's density, a pixel is 15 twips.
inline constexpr int TwipsPerPixel = 15;

inline QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

// What a player's six dice as the window shows them are worth, by the scoring rule
// alone: the gain the rules must have added to that player's score.
inline long long gainOfDiceShown(const qt::Velmarsh &velmarsh, int player)
{
    testing_support::Dice dice{};
    for (int die = 0; die < 6; ++die)
        dice[static_cast<std::size_t>(die)] =
                text(velmarsh.caption({rules::name::Die, (player - 1) * 6 + die + 1})).toInt();
    return testing_support::outcomeOf(dice).gain;
}

// The window with scripted dice, recorded boxes and a recorded end of program, shown.
struct Fixture
{
    Fixture() { velmarsh.show(); }

    [[nodiscard]] QLabel *label(std::string_view name, int index = 0) const
    {
        return qobject_cast<QLabel *>(velmarsh.control({name, index}));
    }
    [[nodiscard]] QPushButton *roll(int player) const
    {
        return qobject_cast<QPushButton *>(velmarsh.control({rules::name::Roll, player}));
    }
    [[nodiscard]] QString caption(std::string_view name, int index = 0) const
    {
        return text(velmarsh.caption({name, index}));
    }
    [[nodiscard]] bool showing(int player) const
    {
        return roll(player)->isVisibleTo(velmarsh.window());
    }

    testing_support::ScriptedRandom random;
    testing_support::RecordingMessageBox messages;
    std::vector<int> endCodes;
    qt::Velmarsh velmarsh{random, messages, [this](int code) { endCodes.push_back(code); }};
};

// Compares one control with its row of the layout table; QCOMPARE records any difference.
inline void compareWithLayout(const qt::Velmarsh &velmarsh, std::size_t row)
{
    const auto &layout = layout::ControlTable[row];
    QWidget *widget = velmarsh.control(layout.control);
    QCOMPARE(widget->geometry(),
            QRect(layout.left / TwipsPerPixel, layout.top / TwipsPerPixel,
                    layout.width / TwipsPerPixel, layout.height / TwipsPerPixel));
    QCOMPARE(widget->isVisibleTo(velmarsh.window()), layout.visible);
    const qreal points =
            layout.font == layout::FontKind::Large ? 18.0 : qt::windowFont().pointSizeF();
    QCOMPARE(widget->font().pointSizeF(), points);
    if (layout.kind == layout::ControlKind::Button) {
        const auto *button = qobject_cast<QPushButton *>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), text(layout.caption));
        QVERIFY(button->focusPolicy() & Qt::TabFocus);
        return;
    }
    const auto *label = qobject_cast<QLabel *>(widget);
    QVERIFY(label);
    QCOMPARE(label->text(), text(layout.caption));
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QCOMPARE(label->autoFillBackground(), layout.background.has_value());
    const QColor face = layout.background
            ? QColor(layout.background->red, layout.background->green, layout.background->blue)
            : velmarsh.window()->palette().color(QPalette::Window);
    QCOMPARE(label->palette().color(QPalette::Window), face);
    // the border is drawn by the label itself, one device pixel thin, inside a one-pixel margin
    const auto *gameLabel = dynamic_cast<const qt::GameLabel *>(label);
    QVERIFY(gameLabel);
    const bool boxed = layout.border == layout::Border::Single;
    QCOMPARE(gameLabel->hasBorder(), boxed);
    QCOMPARE(label->frameShape(), QFrame::NoFrame);
    QCOMPARE(label->contentsMargins(), boxed ? QMargins(1, 1, 1, 1) : QMargins());
    const Qt::Alignment align = layout.align == layout::Align::Centre
            ? Qt::Alignment(Qt::AlignHCenter | Qt::AlignVCenter)
            : Qt::Alignment(Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(label->alignment(), align);
}

// Every control at once, naming the first that differs; the caller checks currentTestFailed().
inline void compareAllWithLayout(const qt::Velmarsh &velmarsh)
{
    for (std::size_t row = 0; row < layout::ControlTable.size(); ++row) {
        compareWithLayout(velmarsh, row);
        if (QTest::currentTestFailed()) {
            qWarning("%s differs from the layout table",
                    rules::describe(layout::ControlTable[row].control).c_str());
            return;
        }
    }
}

} // namespace window_tests
