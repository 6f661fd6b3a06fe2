// The real message box, and the non-zero end of a program whose click failed.
#include "rules/error_boundary.h"
#include "qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class ErrorExitTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realBoxIsOkOnlyWithoutIconAndApplicationModal();
    void realBoxShowsItsTitleAndTextUntilAnswered();
    void failedClickEndsTheProgramWithNonZeroStatus();
};

void ErrorExitTest::realBoxIsOkOnlyWithoutIconAndApplicationModal()
{
    const auto box = qt::QtMessageBox::create(u"Tornel (2-Player)"_s, u"Player 1 won"_s);
    QCOMPARE(box->windowTitle(), u"Tornel (2-Player)"_s);
    QCOMPARE(box->text(), u"Player 1 won"_s);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
}

void ErrorExitTest::realBoxShowsItsTitleAndTextUntilAnswered()
{
    QString seen;
    QTimer::singleShot(0, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return; // the box never opened: seen stays empty and the test fails below
        seen = box->windowTitle() + u'|' + box->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    qt::QtMessageBox().show("Tornel (2-Player)", "Surprisingly, you EACH won with 560 points!");
    QCOMPARE(seen, u"Tornel (2-Player)|Surprisingly, you EACH won with 560 points!"_s);
}

void ErrorExitTest::failedClickEndsTheProgramWithNonZeroStatus()
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(ERROR_EXIT_PROBE), {});
    QVERIFY(probe.waitForStarted());
    if (!probe.waitForFinished(60'000)) {
        probe.kill();
        probe.waitForFinished();
        QFAIL("the probe did not end");
    }
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), rules::ErrorBoundary::FailureExitCode);
    QVERIFY(probe.exitCode() != 0);
    QVERIFY2(out.startsWith(u"Tornel (2-Player)\n"_s), qPrintable(out));
    QVERIFY2(out.contains(u"type mismatch"_s) && out.contains(u"Score(1)"_s), qPrintable(out));
}

QTEST_MAIN(ErrorExitTest)
#include "error_exit_test.moc"
