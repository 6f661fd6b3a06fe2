#include "app/qt_message_box.h"
#include "app/velmarsh.h"
#include "rules/clock_random.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    rules::ClockRandom random;
    app::QtMessageBox messages;
    app::Velmarsh Velmarsh(random, messages, [](int exitCode) { QApplication::exit(exitCode); });
    Velmarsh.show();
    return QApplication::exec();
}
