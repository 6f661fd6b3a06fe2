// The keyboard alone plays a whole game: the focus follows the turn, Tab never leaves the
// showing Roll button, a fresh game focuses Roll(1), and the real result box answers keys.
#include "window_fixture.h"

#include "qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace window_tests;
namespace name = rules::name;

namespace {

QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : u"nothing"_s;
}

// The faces of roll number `roll`, varied so that the game sees pairs, triples and straights.
std::vector<int> faces(int roll)
{
    return {1 + roll % 6, 1 + (roll / 6) % 6, 3, 4, 5, 1 + roll % 5};
}

// Records what each watched Roll button tells at the moment it takes the focus.
class FocusListener : public QObject
{
public:
    QStringList heard;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            heard << static_cast<QWidget *>(watched)->accessibleDescription();
        return false;
    }
};

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeGameBySpaceAndEnterThenRollOneHasTheFocus();
    void eachRollButtonTellsTheTurnBeforeItTakesTheFocus();
    void realResultBoxClosesOnKey_data();
    void realResultBoxClosesOnKey();
};

void KeyboardTest::wholeGameBySpaceAndEnterThenRollOneHasTheFocus()
{
    Fixture window;
    for (int roll = 0; roll <= 100; ++roll)
        window.random.queueFaces(faces(roll));
    QApplication::setActiveWindow(window.velmarsh.window());
    QVERIFY(QTest::qWaitForWindowActive(window.velmarsh.window()));

    for (int turn = 0; turn < 100; ++turn) {
        const int player = 1 + turn % 2;
        const QString roll = u"Roll(%1)"_s.arg(player);
        QVERIFY2(window.showing(player) && !window.showing(3 - player), qPrintable(roll));
        QCOMPARE(focusName(), roll);
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) { // no label takes the focus
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(focusName(), roll);
        }
        QTest::keyClick(
                QApplication::focusWidget(), turn % 2 == 0 ? Qt::Key_Space : Qt::Key_Return);
        if (turn == 99)
            break;
        QCOMPARE(window.caption(name::NumTurns), QString::number((turn + 1) / 2));
        QCOMPARE(window.caption(name::Die, 6 * (player - 1) + 1), QString::number(faces(turn)[0]));
        QVERIFY(window.messages.shown.empty());
    }
    QCOMPARE(window.messages.shown.size(), 1u);
    QCOMPARE(text(window.messages.shown[0].title), u"Tornel (2-Player)"_s);

    QCOMPARE(window.caption(name::NumTurns), u"0"_s);
    QVERIFY(window.showing(1) && !window.showing(2));
    // A desktop activates the window shown again; offscreen, whose focus window never changed,
    // does not tell the application, so the test activates it as at the start.
    QCOMPARE(window.velmarsh.window()->focusWidget(), window.roll(1));
    QApplication::setActiveWindow(window.velmarsh.window());
    QCOMPARE(focusName(), u"Roll(1)"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    for (int die = 1; die <= 6; ++die)
        QCOMPARE(window.caption(name::Die, die), QString::number(faces(100)[die - 1]));
    QCOMPARE(focusName(), u"Roll(2)"_s);
    QCOMPARE(window.random.pending(), 0u);
}

// A screen reader reads the button's description when the focus arrives, so the text of the
// turn, round close included, must be in place by then.
void KeyboardTest::eachRollButtonTellsTheTurnBeforeItTakesTheFocus()
{
    Fixture window;
    QApplication::setActiveWindow(window.velmarsh.window());
    QVERIFY(QTest::qWaitForWindowActive(window.velmarsh.window()));
    QCOMPARE(window.roll(1)->accessibleDescription(), u"Player 1 to roll, round 1 of 50."_s);
    FocusListener listener;
    for (const int player : {1, 2})
        window.roll(player)->installEventFilter(&listener);
    window.random.queueFaces({3, 3, 3, 3, 1, 5});
    window.random.queueFaces({5, 5, 5, 5, 1, 1});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(listener.heard,
            QStringList({u"Player 1 rolled 3 3 3 3 1 5: four of a kind, 108 points, score 108. "
                         u"Player 2 to roll, round 1 of 50."_s,
                    u"Player 2 rolled 5 5 5 5 1 1: four of a kind and a pair, 181 points, "
                    u"score 181. Player 1 to roll, round 2 of 50."_s}));
}

void KeyboardTest::realResultBoxClosesOnKey_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << static_cast<int>(Qt::Key_Return);
    QTest::newRow("keypad Enter") << static_cast<int>(Qt::Key_Enter);
    QTest::newRow("Escape") << static_cast<int>(Qt::Key_Escape);
}

void KeyboardTest::realResultBoxClosesOnKey()
{
    QFETCH(int, key);
    const auto box = qt::QtMessageBox::create(u"Tornel (2-Player)"_s,
            u"Player 2 won with 12 points and Player 1 lost with 7 points!"_s);
    QString answered;
    QTimer::singleShot(0, box.get(), [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return; // the box never opened: the guard below ends it and the test fails
        answered = modal->windowTitle();
        QTest::keyClick(modal, static_cast<Qt::Key>(key));
    });
    bool stuck = false;
    QTimer::singleShot(5000, box.get(), [&] { // bounded: a key that does nothing must not hang
        stuck = true;
        box->done(-1);
    });
    const int result = box->exec();
    QVERIFY2(!stuck, "the key left the box open");
    QCOMPARE(answered, u"Tornel (2-Player)"_s);
    QCOMPARE(result, static_cast<int>(QMessageBox::Ok));
    QVERIFY(!box->isVisible());
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
