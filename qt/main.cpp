#include "qt/qt_message_box.h"
#include "qt/velmarsh.h"
#include "rules/clock_random.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    rules::ClockRandom random;
    qt::QtMessageBox messages;
    qt::Velmarsh Velmarsh(random, messages, [](int exitCode) { QApplication::exit(exitCode); });
    Velmarsh.show();
    return QApplication::exec();
}
