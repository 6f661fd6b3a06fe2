// The program as it runs, with Score(1) spoilt before player 1's first click: prints the
// real box's title and text, answers it, and returns the program's exit status.
#include "qt/run_game.h"
#include "qt/velmarsh.h"
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
    return qt::runGame(argc, argv, [](qt::Velmarsh &velmarsh) {
        qobject_cast<QLabel *>(velmarsh.control({rules::name::Score, 1}))->setText(u"abc"_s);
        QTimer::singleShot(0, [&velmarsh] {
            QTimer::singleShot(0, answerBox);
            qobject_cast<QPushButton *>(velmarsh.control({rules::name::Roll, 1}))->click();
        });
    });
}
