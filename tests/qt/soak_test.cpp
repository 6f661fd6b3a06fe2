// Whole games back to back through the real window: every game ends in exactly one result
// that agrees with what the dice shown were worth, and leaves the window as it opens.
#include "window_fixture.h"

#include "layout/control_table.h"
#include "qt/velmarsh.h"
#include "rules/clock_random.h"

#include <QPalette>
#include <QTest>
#include <QWidget>

#include <array>
#include <vector>

using namespace Qt::StringLiterals;
namespace name = rules::name;

using window_tests::gainOfDiceShown;
using window_tests::text;

namespace {

// The first control that differs from the window as it opens, or an empty text.
QString differenceFromOpening(const qt::Velmarsh &velmarsh)
{
    for (const layout::ControlSpec &spec : layout::ControlTable) {
        QWidget *widget = velmarsh.control(spec.control);
        const bool sameBackground = !spec.background
                || widget->palette().color(QPalette::Window)
                        == QColor(spec.background->red, spec.background->green,
                                spec.background->blue);
        if (velmarsh.caption(spec.control) != spec.caption || !sameBackground
                || widget->isVisibleTo(velmarsh.window()) != spec.visible)
            return text(rules::describe(spec.control));
    }
    return {};
}

QString resultText(long long first, long long second)
{
    if (first > second)
        return u"Player 1 won with %1 points and Player 2 lost with %2 points!"_s.arg(first).arg(
                second);
    if (first < second)
        return u"Player 2 won with %1 points and Player 1 lost with %2 points!"_s.arg(second).arg(
                first);
    return u"Surprisingly, you EACH won with %1 points!"_s.arg(first);
}

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyGameEndsOnceAndLeavesAFreshWindow();
};

// TORNEL_SOAK_GAMES shortens the run for slow tools such as memcheck; 1,000 games otherwise.
void SoakTest::everyGameEndsOnceAndLeavesAFreshWindow()
{
    const int games = qEnvironmentVariableIsSet("TORNEL_SOAK_GAMES")
            ? qEnvironmentVariableIntValue("TORNEL_SOAK_GAMES")
            : 1000;
    rules::ClockRandom random;
    testing_support::RecordingMessageBox messages;
    std::vector<int> endCodes;
    qt::Velmarsh velmarsh(random, messages, [&](int code) { endCodes.push_back(code); });
    velmarsh.show();
    const auto roll = [&](int player) { return velmarsh.control({name::Roll, player}); };
    std::array<long long, 3> sums{};
    QString announced;
    messages.whileOpen = [&] { // player 2's last dice are still shown while the result is
        sums[2] += gainOfDiceShown(velmarsh, 2);
        announced = resultText(sums[1], sums[2]);
        QCOMPARE(text(velmarsh.caption({name::Score, 1})), QString::number(sums[1]));
        QCOMPARE(text(velmarsh.caption({name::Score, 2})), QString::number(sums[2]));
    };
    for (int game = 1; game <= games; ++game) {
        sums = {};
        for (int turn = 1; turn <= 100; ++turn) {
            const int player = roll(1)->isVisible() ? 1 : 2;
            QCOMPARE(roll(3 - player)->isVisible(), false);
            QTest::mouseClick(roll(player), Qt::LeftButton);
            if (turn < 100)
                sums[static_cast<std::size_t>(player)] += gainOfDiceShown(velmarsh, player);
        }
        QCOMPARE(messages.shown.size(), static_cast<std::size_t>(game));
        QCOMPARE(text(messages.shown.back().title), u"Tornel (2-Player)"_s);
        QCOMPARE(text(messages.shown.back().text), announced);
        QVERIFY2(endCodes.empty(), qPrintable(u"game %1"_s.arg(game)));
        const QString changed = differenceFromOpening(velmarsh);
        QVERIFY2(changed.isEmpty(), qPrintable(u"after game %1: %2"_s.arg(game).arg(changed)));
        if (QTest::currentTestFailed())
            return;
    }
}

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
