// Whole turns and whole games through the real window's Roll buttons.
#include "window_fixture.h"

#include "rules/clock_random.h"

#include <array>

using namespace Qt::StringLiterals;
using namespace window_tests;
namespace name = rules::name;

namespace {

QString resultText(long long first, long long second)
{
    const QString won = u"Player %1 won with %2 points and Player %3 lost with %4 points!"_s;
    if (first > second)
        return won.arg(1).arg(first).arg(2).arg(second);
    if (first < second)
        return won.arg(2).arg(second).arg(1).arg(first);
    return u"Surprisingly, you EACH won with %1 points!"_s.arg(first);
}

} // namespace

class GameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badCaptionEndsTheProgramAndKeepsEarlierSteps_data();
    void badCaptionEndsTheProgramAndKeepsEarlierSteps();
    void wholeGameAnnouncesTheFinalScoresAndStartsAnother_data();
    void wholeGameAnnouncesTheFinalScoresAndStartsAnother();
};

void GameTest::badCaptionEndsTheProgramAndKeepsEarlierSteps_data()
{
    QTest::addColumn<int>("player");
    QTest::addColumn<QString>("badScore");
    QTest::addColumn<QString>("failure");
    QTest::newRow("letters in Score(1)") << 1 << u"abc"_s << u"type mismatch"_s;
    QTest::newRow("too large a Score(2)") << 2 << u"1e999"_s << u"overflow"_s;
}

// Scoring reads the player's Score caption; the dice are already shown by then.
void GameTest::badCaptionEndsTheProgramAndKeepsEarlierSteps()
{
    QFETCH(int, player);
    QFETCH(QString, badScore);
    QFETCH(QString, failure);
    Fixture window;
    if (player == 2) {
        window.random.queueFaces({1, 2, 3, 4, 5, 6});
        QTest::mouseClick(window.roll(1), Qt::LeftButton);
    }
    window.label(name::Score, player)->setText(badScore);
    window.random.queueFaces({2, 4, 6, 1, 3, 5});
    window.random.queueFaces({6, 6, 6, 6, 6, 6}); // there for a click that must not roll

    QTest::mouseClick(window.roll(player), Qt::LeftButton);

    QCOMPARE(window.messages.shown.size(), 1u);
    QCOMPARE(text(window.messages.shown[0].title), u"Tornel (2-Player)"_s);
    const QString message = text(window.messages.shown[0].text);
    QVERIFY2(message.contains(failure), qPrintable(message));
    QVERIFY2(message.contains(u"Score(%1)"_s.arg(player)), qPrintable(message));
    QCOMPARE(window.endCodes.size(), 1u);
    QVERIFY(window.endCodes[0] != 0);
    const int firstDie = player == 1 ? 1 : 7;
    const QStringList shownFaces{u"2"_s, u"4"_s, u"6"_s, u"1"_s, u"3"_s, u"5"_s};
    for (int j = 0; j < 6; ++j)
        QCOMPARE(window.caption(name::Die, firstDie + j), shownFaces[j]);
    QVERIFY(window.showing(player)); // the turn never passed

    QTest::mouseClick(window.roll(player), Qt::LeftButton);
    QCOMPARE(window.random.pending(), 6u);
    QCOMPARE(window.messages.shown.size(), 1u);
    QCOMPARE(window.endCodes.size(), 1u);
    QCOMPARE(window.caption(name::Score, player), badScore);
}

void GameTest::wholeGameAnnouncesTheFinalScoresAndStartsAnother_data()
{
    QTest::addColumn<QList<int>>("firstRoll"); // every roll of player 1; none: clock dice
    QTest::addColumn<QList<int>>("secondRoll");
    QTest::addColumn<QString>("result"); // none: built from the final scores
    QTest::newRow("clock dice") << QList<int>() << QList<int>() << QString();
    // four threes score 36 x 3 = 108, a straight 100, a single pair of ones 1
    QTest::newRow("player 1 wins")
            << QList<int>{3, 3, 3, 3, 1, 2} << QList<int>{1, 1, 2, 3, 4, 5}
            << u"Player 1 won with 5400 points and Player 2 lost with 50 points!"_s;
    QTest::newRow("player 2 wins")
            << QList<int>{6, 5, 4, 3, 2, 1} << QList<int>{3, 3, 3, 3, 1, 2}
            << u"Player 2 won with 5400 points and Player 1 lost with 5000 points!"_s;
    QTest::newRow("a draw") << QList<int>{1, 2, 3, 4, 5, 6} << QList<int>{2, 4, 6, 1, 3, 5}
                            << u"Surprisingly, you EACH won with 5000 points!"_s;
}

// Every turn adds what its dice are worth to its player's score; after round 50 one box
// names the final scores, and a fresh game begins with player 1.
void GameTest::wholeGameAnnouncesTheFinalScoresAndStartsAnother()
{
    QFETCH(QList<int>, firstRoll);
    QFETCH(QList<int>, secondRoll);
    QFETCH(QString, result);
    Fixture window;
    rules::ClockRandom clock;
    clock.reseedFromClock();
    for (int turn = 0; turn < 101; ++turn) {
        const QList<int> &faces = turn % 2 == 0 ? firstRoll : secondRoll;
        for (int die = 0; die < 6; ++die)
            window.random.queueDraw(faces.isEmpty() ? clock.next() : (faces[die] - 0.5) / 6.0);
    }
    // Score(1), Score(2), NumTurns while the box is open, and what player 2's last dice,
    // still shown, are worth.
    QStringList behindTheBox;
    long long lastGain = 0;
    window.messages.whileOpen = [&] {
        behindTheBox = {window.caption(name::Score, 1), window.caption(name::Score, 2),
                window.caption(name::NumTurns)};
        lastGain = gainOfDiceShown(window.velmarsh, 2);
    };
    std::array<long long, 3> gained{};
    for (int click = 1; click < 100; ++click) {
        const int player = click % 2 == 1 ? 1 : 2;
        QVERIFY(window.showing(player) && !window.showing(3 - player));
        QTest::mouseClick(window.roll(player), Qt::LeftButton);
        gained[player] += gainOfDiceShown(window.velmarsh, player);
        QCOMPARE(window.caption(name::Score, player), QString::number(gained[player]));
    }
    QVERIFY(window.messages.shown.empty());
    QTest::mouseClick(window.roll(2), Qt::LeftButton);

    gained[2] += lastGain;
    QCOMPARE(behindTheBox,
            QStringList({QString::number(gained[1]), QString::number(gained[2]), u"50"_s}));
    QCOMPARE(window.messages.shown.size(), 1u);
    QCOMPARE(text(window.messages.shown[0].title), u"Tornel (2-Player)"_s);
    QCOMPARE(text(window.messages.shown[0].text),
            result.isEmpty() ? resultText(gained[1], gained[2]) : result);

    compareAllWithLayout(window.velmarsh);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(window.velmarsh.window()->isVisible());
    QCOMPARE(window.velmarsh.arrays().GainValue(1), 0);
    QCOMPARE(window.velmarsh.arrays().GainValue(2), 0);
    QCOMPARE(window.random.reseeds, 2);

    QTest::mouseClick(window.roll(1), Qt::LeftButton);
    QVERIFY(window.caption(name::Gain, 1).toInt() > 0);
    QCOMPARE(window.caption(name::Score, 1), window.caption(name::Gain, 1));
    QVERIFY(window.showing(2));
    QCOMPARE(window.messages.shown.size(), 1u);
    QVERIFY(window.endCodes.empty());
}

QTEST_MAIN(GameTest)
#include "game_test.moc"
