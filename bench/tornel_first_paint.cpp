// The game's start-up as qt/main.cpp does it, ending right after the window's
// first paint: the program the start-up benchmark launches. The game itself is
// untouched; only this benchmark program watches for the paint.
#include "qt/qt_message_box.h"
#include "qt/velmarsh.h"
#include "first_paint.h"
#include "rules/clock_random.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    rules::ClockRandom random;
    qt::QtMessageBox messages;
    qt::Velmarsh Velmarsh(random, messages, [](int exitCode) { QApplication::exit(exitCode); });
    bench::ExitAfterFirstPaint watch(Velmarsh.window());
    Velmarsh.show();
    return QApplication::exec();
}
