// Clicks, closes and resizes at awkward moments, delivered the way the window system delivers
// them, to the real window and, where it matters, behind the real modal result box.
#include "scripted_random.h"

#include "layout/control_table.h"
#include "qt/qt_message_box.h"
#include "qt/velmarsh.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <vector>

using namespace Qt::StringLiterals;
namespace name = rules::name;

namespace {

struct Window
{
    Window()
    {
        velmarsh.show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
        // A box opened by a click that should have been lost is answered too: a failure, not a
        // hang.
        QObject::connect(&strayBoxes, &QTimer::timeout, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        strayBoxes.start(500);
    }
    QWidget *form() const { return velmarsh.window(); }
    QPoint rollAt(int player) const
    {
        return velmarsh.control({name::Roll, player})->geometry().center();
    }
    void click(int player) const
    {
        QTest::mouseClick(form()->windowHandle(), Qt::LeftButton, {}, rollAt(player));
    }
    // Queues a press and a release where the Roll button sits, for the event loop to deliver.
    void postClick(int player) const
    {
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(form()->windowHandle(),
                    new QMouseEvent(type, rollAt(player), form()->mapToGlobal(rollAt(player)),
                            Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {}));
    }
    QString caption(std::string_view control, int index = 0) const
    {
        return QString::fromStdString(velmarsh.caption({control, index}));
    }
    bool showing(int player) const { return velmarsh.control({name::Roll, player})->isVisible(); }
    // Every control's caption, visibility and place.
    QStringList snapshot() const
    {
        QStringList controls;
        for (const layout::ControlSpec &spec : layout::ControlTable) {
            const QWidget *widget = velmarsh.control(spec.control);
            const QRect at = widget->geometry();
            controls << u"%1 %2,%3 %4x%5 %6"_s.arg(caption(spec.control.name, spec.control.index))
                                .arg(at.x())
                                .arg(at.y())
                                .arg(at.width())
                                .arg(at.height())
                                .arg(widget->isVisible());
        }
        return controls;
    }
    // Plays the fiftieth round; whileOpen runs while its result box is open, then the box is
    // answered.
    void playLastRound(const std::function<void()> &whileOpen)
    {
        qobject_cast<QLabel *>(velmarsh.control({name::NumTurns, 0}))->setText(u"49"_s);
        random.queueFaces({1, 1, 2, 3, 4, 5, 6, 6, 2, 3, 4, 5});
        click(1);
        QTimer::singleShot(0, [whileOpen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            whileOpen();
            box->accept();
        });
        click(2);
        QCoreApplication::processEvents(); // anything still queued reaches the fresh game
        QCOMPARE(caption(name::NumTurns), u"0"_s);
        for (int die = 1; die <= 12; ++die)
            QCOMPARE(caption(name::Die, die), u"#"_s);
        QVERIFY(showing(1) && !showing(2) && form()->isVisible());
    }

    testing_support::ScriptedRandom random;
    qt::QtMessageBox messages;
    std::vector<int> endCodes;
    QTimer strayBoxes;
    qt::Velmarsh velmarsh{random, messages, [this](int code) { endCodes.push_back(code); }};
};

} // namespace

class StressTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicksWhileTheResultIsOpenAreLost();
    void everyVisibleClickMakesExactlyOneTurn();
    void closingIsRefusedWhileTheResultIsOpen();
    void resizingChangesNothingOfTheGame();
    void closingTheWindowEndsTheProgram();
};

void StressTest::clicksWhileTheResultIsOpenAreLost()
{
    Window window;
    window.playLastRound([&] {
        const QStringList finished = window.snapshot();
        window.random.queueFaces(std::vector<int>(240, 2)); // for any click that gets through
        for (int i = 0; i < 20; ++i) {
            window.postClick(1 + i % 2);
            window.click(1 + i % 2);
        }
        QCoreApplication::processEvents();
        QCOMPARE(window.snapshot(), finished);
    });
    QCOMPARE(window.random.drawsTaken, 12);
    QVERIFY(window.endCodes.empty());
}

void StressTest::everyVisibleClickMakesExactlyOneTurn()
{
    Window window;
    window.random.queueFaces(std::vector<int>(240, 3));
    for (int i = 0; i < 40; ++i) // 1, 1, 2, 2, ...: every second click finds its button hidden
        window.postClick(1 + i % 4 / 2);
    QCoreApplication::processEvents();
    QCOMPARE(window.random.drawsTaken, 6 * 20);
    QCOMPARE(window.caption(name::NumTurns), u"10"_s);
    for (int i = 0; i < 20; ++i)
        window.click(window.showing(1) ? 1 : 2);
    QCOMPARE(window.random.drawsTaken, 6 * 40);
    QCOMPARE(window.caption(name::NumTurns), u"20"_s);
}

// A close asked for behind the box, as the window system hands it over and by the program.
void StressTest::closingIsRefusedWhileTheResultIsOpen()
{
    Window window;
    window.playLastRound([&] {
        QCloseEvent request;
        QCoreApplication::sendEvent(window.form()->windowHandle(), &request);
        QVERIFY2(!request.isAccepted(), "the window accepted a close event behind the result box");
        QVERIFY2(!window.form()->close(), "close() closed the window behind the result box");
        QVERIFY(window.form()->isVisible());
    });
    window.random.queueFaces({4, 4, 4, 1, 2, 3});
    window.click(1);
    QCOMPARE(window.caption(name::Gain, 1), u"24"_s); // 3 x one triple of 4 + three pairs of 4
}

void StressTest::resizingChangesNothingOfTheGame()
{
    Window window;
    const QStringList opening = window.snapshot();
    const QSize normal = window.form()->size();
    const auto unchanged = [&] {
        QCoreApplication::processEvents();
        QCOMPARE(window.snapshot(), opening);
    };
    window.form()->resize(1, 1);
    unchanged();
    window.form()->showFullScreen();
    unchanged();
    window.form()->showNormal();
    window.form()->resize(normal);
    unchanged();
    window.random.queueFaces({5, 5, 1, 2, 3, 4});
    window.click(1);
    QCOMPARE(window.caption(name::Gain, 1), u"5"_s); // a pair of fives
}

void StressTest::closingTheWindowEndsTheProgram()
{
    Window window;
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, window.form(), &QWidget::close);
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); }); // rather than hang
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(lastWindowClosed.size(), 1);
}

QTEST_MAIN(StressTest)
#include "stress_test.moc"
