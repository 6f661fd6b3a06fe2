// The program as main.cpp wires it, with Score(1) spoilt before player 1's first
// click: prints the real box's title and text, answers it, and returns what exec() returns.
#include "qt/qt_message_box.h"
#include "qt/velmarsh.h"
#include "rules/clock_random.h"
#include "rules/controls.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Waits for the modal box, then reports it on stdout and presses its OK.
void answerBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box) {
        QTimer::singleShot(10, answerBox);
        return;
    }
    std::printf("%s\n%s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
    std::fflush(stdout);
    box->accept();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    rules::ClockRandom random;
    qt::QtMessageBox messages;
    qt::Velmarsh velmarsh(random, messages, [](int exitCode) { QApplication::exit(exitCode); });
    velmarsh.show();
    qobject_cast<QLabel *>(velmarsh.control({rules::name::Score, 1}))->setText(u"abc"_s);
    QTimer::singleShot(0, [&velmarsh] {
        QTimer::singleShot(0, answerBox);
        qobject_cast<QPushButton *>(velmarsh.control({rules::name::Roll, 1}))->click();
    });
    return QApplication::exec();
}
