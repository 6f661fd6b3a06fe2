// The window as it opens, as it reloads, and how its two Roll buttons take clicks and keys.
#include "window_fixture.h"

#include <QApplication>
#include <QIcon>
#include <QSignalSpy>
#include <QWindow>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;
using namespace window_tests;
namespace name = rules::name;

class WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlOpensAsTheLayoutTableSays_data();
    void everyControlOpensAsTheLayoutTableSays();
    void windowOpensWithItsTitleSizeIconAndRules();
    void reloadRestoresEveryControlAndKeepsTheArrays();
    void aRoundShowsTheScriptedFacesByMouseSpaceOrEnter_data();
    void aRoundShowsTheScriptedFacesByMouseSpaceOrEnter();
    void tabMovesOnlyBetweenTheRollButtons();
};

void WindowTest::everyControlOpensAsTheLayoutTableSays_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < layout::ControlCount; ++row)
        QTest::newRow(
                rules::describe(layout::ControlTable[static_cast<std::size_t>(row)].control).c_str())
                << row;
}

void WindowTest::everyControlOpensAsTheLayoutTableSays()
{
    QFETCH(int, row);
    const Fixture window;
    compareWithLayout(window.velmarsh, static_cast<std::size_t>(row));
}

void WindowTest::windowOpensWithItsTitleSizeIconAndRules()
{
    const Fixture window;
    const QWidget *form = window.velmarsh.window();
    QCOMPARE(form->windowTitle(), u"Form1"_s);
    QCOMPARE(form->size(), QSize(351, 289));
    QVERIFY(form->isVisible());
    const QIcon icon = form->windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    // a few rects worked out by hand from the layout, 15 twips a pixel
    const std::array<std::pair<rules::Control, QRect>, 4> landmarks{{
            {{name::Die, 8}, QRect(320, 0, 33, 33)},
            {{name::Instructions, 0}, QRect(96, 96, 161, 161)},
            {{name::Roll, 2}, QRect(272, 256, 81, 33)},
            {{name::L5, 0}, QRect(0, 208, 13, 13)},
    }};
    for (const auto &[control, rect] : landmarks)
        QCOMPARE(window.velmarsh.control(control)->geometry(), rect);
    QCOMPARE(form->focusWidget(), window.roll(1));
    QCOMPARE(window.caption(name::Instructions),
            u"This is the game of tornel, for two people. It is also a harder version! In the "
            "point values, they will be multiplied. For example, a 3-3-3-3 will be 36x3 points, or "
            "108.  If you are very lucky you can get a 1-2-3-4-5-6 worth 100 points. Good luck! "
            "And also remember, this is for two players. You can always do it yourself for fun. "
            ":) The turn counter will finish the game when 50 turns are done."_s);
    QCOMPARE(window.random.reseeds, 1);
}

// Whatever a game and stray changes left behind, a reload opens the window afresh, in
// place and at the size the player gave it.
void WindowTest::reloadRestoresEveryControlAndKeepsTheArrays()
{
    Fixture window;
    window.random.queueFaces({3, 3, 3, 3, 1, 2}); // four threes: 36 x 3 = 108
    window.random.queueFaces({6, 5, 4, 3, 2, 1}); // a straight: 100
    QTest::mouseClick(window.roll(1), Qt::LeftButton);
    QTest::mouseClick(window.roll(2), Qt::LeftButton);
    QCOMPARE(window.caption(name::Score, 1), u"108"_s);
    window.velmarsh.setCaption({name::NumTurns, 0}, "odd");
    window.velmarsh.setBackground({name::Instructions, 0}, rules::colour::Red);
    window.velmarsh.setBackground({name::NumTurns, 0}, rules::colour::Amber);
    window.velmarsh.setVisible({name::L4, 0}, true);
    window.velmarsh.setVisible({name::Roll, 2}, true);
    window.label(name::Die, 3)->setGeometry(5, 5, 50, 50);
    window.label(name::Pair, 2)->setFont(qt::windowFont());
    window.velmarsh.window()->resize(500, 400);
    QSignalSpy shownOrHidden(window.velmarsh.window()->windowHandle(), &QWindow::visibleChanged);

    window.velmarsh.reload();

    compareAllWithLayout(window.velmarsh);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(window.velmarsh.window()->size(), QSize(500, 400)); // the player's size stays
    QCOMPARE(shownOrHidden.count(), 0); // reloaded in place, never hidden
    QVERIFY(window.velmarsh.window()->isVisible());
    QCOMPARE(window.velmarsh.window()->focusWidget(), window.roll(1));
    QCOMPARE(window.random.reseeds, 2);
    for (int die = 1; die <= 6; ++die)
        QCOMPARE(window.velmarsh.arrays().DieValue(die), static_cast<float>(7 - die));
    QCOMPARE(window.velmarsh.arrays().GainValue(1), 108);
    QCOMPARE(window.velmarsh.arrays().GainValue(2), 100);
}

void WindowTest::aRoundShowsTheScriptedFacesByMouseSpaceOrEnter_data()
{
    QTest::addColumn<int>("key"); // 0: mouse clicks
    QTest::newRow("mouse clicks") << 0;
    QTest::newRow("space on the focused button") << static_cast<int>(Qt::Key_Space);
    QTest::newRow("enter on the focused button") << static_cast<int>(Qt::Key_Return);
}

// The window opens with the focus on Roll(1), and the button that shows up takes
// it, so the keyboard alone plays a round.
void WindowTest::aRoundShowsTheScriptedFacesByMouseSpaceOrEnter()
{
    QFETCH(int, key);
    Fixture window;
    window.random.queueFaces({5, 2, 6, 1, 4, 4, 6, 6, 1, 2, 3, 4});
    QApplication::setActiveWindow(window.velmarsh.window());
    QVERIFY(QTest::qWaitForWindowActive(window.velmarsh.window()));
    const auto play = [&](int player) {
        QCOMPARE(QApplication::focusWidget(), window.roll(player));
        if (key == 0)
            QTest::mouseClick(window.roll(player), Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    };
    play(1);
    const QStringList faces{u"5"_s, u"2"_s, u"6"_s, u"1"_s, u"4"_s, u"4"_s};
    for (int die = 1; die <= 6; ++die) {
        QCOMPARE(window.caption(name::Die, die), faces[die - 1]);
        QCOMPARE(window.caption(name::Die, die + 6), u"#"_s);
    }
    QCOMPARE(window.caption(name::Gain, 1), u"4"_s); // the pair of fours
    QVERIFY(!window.showing(1) && window.showing(2));

    play(2);
    QCOMPARE(window.caption(name::Die, 7), u"6"_s);
    QCOMPARE(window.caption(name::Die, 1), u"#"_s);
    QCOMPARE(window.caption(name::Score, 2), u"6"_s); // the pair of sixes
    QCOMPARE(window.caption(name::NumTurns), u"1"_s);
    QVERIFY(window.showing(1) && !window.showing(2));
    QCOMPARE(QApplication::focusWidget(), window.roll(1));
}

// The labels never take focus: with one Roll button showing, Tab stays on it.
void WindowTest::tabMovesOnlyBetweenTheRollButtons()
{
    Fixture window;
    QApplication::setActiveWindow(window.velmarsh.window());
    QVERIFY(QTest::qWaitForWindowActive(window.velmarsh.window()));
    window.roll(1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window.roll(1));

    window.velmarsh.setVisible({name::Roll, 2}, true);
    window.roll(1)->setFocus();
    QStringList visited;
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({u"Roll(2)"_s, u"Roll(1)"_s, u"Roll(2)"_s, u"Roll(1)"_s}));
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
