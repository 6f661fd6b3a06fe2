// Failures injected into the real window mid-turn: one box names the failure and where it
// happened, the program is ended with a non-zero code, and no later click plays.
#include "recording_message_box.h"
#include "scripted_random.h"

#include "rules/error_boundary.h"
#include "qt/velmarsh.h"
#include "rules/controls.h"

#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;
namespace name = rules::name;

namespace {

// The real window, where writing `trigger` writes `junk` into `target` right after, as a
// faulty control might.
class DamagedVelmarsh : public qt::Velmarsh
{
public:
    using Velmarsh::Velmarsh;
    void setCaption(rules::Control label, std::string_view text) override
    {
        Velmarsh::setCaption(label, text);
        if (label == trigger)
            Velmarsh::setCaption(target, junk);
    }
    rules::Control trigger, target;
    std::string junk;
};

} // namespace

Q_DECLARE_METATYPE(rules::Control)

class FaultTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aDamagedCaptionEndsTheProgramOnce_data();
    void aDamagedCaptionEndsTheProgramOnce();
};

void FaultTest::aDamagedCaptionEndsTheProgramOnce_data()
{
    using rules::Control;
    QTest::addColumn<int>("player");
    QTest::addColumn<rules::Control>("trigger");
    QTest::addColumn<rules::Control>("target");
    QTest::addColumn<QString>("junk");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("sum met by the tally")
            << 1 << Control{name::L6} << Control{name::L3} << u"x"_s
            << QStringList{u"type mismatch"_s, u"counting matching dice"_s, u"L3"_s};
    QTest::newRow("weight overflows")
            << 1 << Control{name::Die, 6} << Control{name::L6} << u"1e307"_s
            << QStringList{u"floating-point error"_s, u"scoring the roll"_s};
    QTest::newRow("gain beyond 16 bits")
            << 1 << Control{name::Die, 6} << Control{name::L5} << u"400"_s
            << QStringList{u"overflow"_s, u"34418"_s}; // 86 * 400 + 18
    // damaged by player 2's score, so that player 1's turn, which tells the round, stays whole
    QTest::newRow("round count") << 2 << Control{name::Score, 2} << Control{name::NumTurns}
                                 << u"#"_s
                                 << QStringList{u"type mismatch"_s, u"closing the round"_s,
                                            u"NumTurns"_s};
}

// Every turn rolls 3-3-3-1-2-4, a gain of 18; the failing turn is the last one.
void FaultTest::aDamagedCaptionEndsTheProgramOnce()
{
    QFETCH(int, player);
    QFETCH(rules::Control, trigger);
    QFETCH(rules::Control, target);
    QFETCH(QString, junk);
    QFETCH(QStringList, told);
    testing_support::ScriptedRandom random;
    testing_support::RecordingMessageBox messages;
    std::vector<int> endCodes;
    DamagedVelmarsh velmarsh(random, messages, [&](int code) { endCodes.push_back(code); });
    velmarsh.trigger = trigger;
    velmarsh.target = target;
    velmarsh.junk = junk.toStdString();
    velmarsh.show();
    for (int turn = 1; turn <= player + 1; ++turn) { // one click too many, which must not play
        random.queueFaces({3, 3, 3, 1, 2, 4});
        QTest::mouseClick(velmarsh.control({name::Roll, turn == 1 ? 1 : 2}), Qt::LeftButton);
    }
    QCOMPARE(random.drawsTaken, 6 * player);
    QCOMPARE(messages.shown.size(), 1u);
    QCOMPARE(QString::fromStdString(messages.shown[0].title), u"Tornel (2-Player)"_s);
    const QString text = QString::fromStdString(messages.shown[0].text);
    for (const QString &part : told + QStringList{u"Roll_Click(%1)"_s.arg(player)})
        QVERIFY2(text.contains(part), qPrintable(part + u" is not in: "_s + text));
    QCOMPARE(endCodes, std::vector<int>{rules::ErrorBoundary::FailureExitCode});
    QVERIFY(rules::ErrorBoundary::FailureExitCode != 0);
    QCOMPARE(velmarsh.caption({name::Die, player == 1 ? 1 : 7}), "3"); // the dice stay shown
}

QTEST_MAIN(FaultTest)
#include "fault_test.moc"
