#include "qt/run_game.h"

#include "qt/qt_message_box.h"
#include "qt/velmarsh.h"
#include "rules/clock_random.h"

#include <QApplication>

namespace qt {

int runGame(int argc, char *argv[])
{
    QApplication application(argc, argv);
    rules::ClockRandom random;
    QtMessageBox messages;
    Velmarsh Velmarsh(random, messages, [](int exitCode) { QApplication::exit(exitCode); });
    Velmarsh.show();
    return QApplication::exec();
}

} // namespace qt
