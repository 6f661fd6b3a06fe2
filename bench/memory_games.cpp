// Plays games in-process through the real window on the offscreen platform (Roll
// buttons clicked, every turn repainted, the dice from rules::ClockRandom, the
// result box answered at once) and prints the resident set size after 10 games
// and after 1,000.
#include "qt/velmarsh.h"
#include "answering_message_box.h"
#include "rules/clock_random.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// VmRSS of this process in KiB, from /proc/self/status.
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const long total = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;

    rules::ClockRandom random;
    bench::AnsweringMessageBox messages;
    std::vector<int> endCodes;
    qt::Velmarsh velmarsh(random, messages, [&endCodes](int code) { endCodes.push_back(code); });
    velmarsh.show();
    QCoreApplication::processEvents();
    auto *roll1 = static_cast<QAbstractButton *>(velmarsh.control({rules::name::Roll, 1}));
    auto *roll2 = static_cast<QAbstractButton *>(velmarsh.control({rules::name::Roll, 2}));

    std::printf("games 0 rss-kib %ld\n", residentKiB());
    for (long game = 1; game <= total; ++game) {
        for (int round = 0; round < 50; ++round) {
            roll1->click();
            QCoreApplication::processEvents();
            roll2->click();
            QCoreApplication::processEvents();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (messages.shown != game || !endCodes.empty()) {
            std::fprintf(stderr, "game %ld did not end with one announcement\n", game);
            return 1;
        }
        if (game == 1 || game == 10 || game == 100 || game == 500 || game == total)
            std::printf("games %ld rss-kib %ld\n", game, residentKiB());
        std::fflush(stdout);
    }
    return 0;
}
