// Linked with the program's own main.cpp: once the application exists, Score(1) is spoilt
// before player 1's first click. Prints the real box's title and text and answers it; the
// program's exit status is main's.
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

template <typename Widget> Widget *control(const QString &name)
{
    for (QWidget *widget : QApplication::allWidgets())
        if (widget->objectName() == name)
            return qobject_cast<Widget *>(widget);
    return nullptr;
}

// Runs once the event loop starts, when the window shows.
void spoilScoreAndClick()
{
    QTimer::singleShot(0, [] {
        auto *score = control<QLabel>(u"Score(1)"_s);
        auto *roll = control<QPushButton>(u"Roll(1)"_s);
        if (!score || !roll) {
            std::printf("no Score(1) or Roll(1) in the window\n");
            QApplication::exit(99);
            return;
        }
        score->setText(u"abc"_s);
        QTimer::singleShot(0, answerBox);
        roll->click();
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(spoilScoreAndClick)
