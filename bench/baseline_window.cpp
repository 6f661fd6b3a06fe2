// A bare window with the same 38 widgets as the game's, and no game code, ending
// right after its first paint: the start-up benchmark's baseline.
#include "baseline_form.h"
#include "first_paint.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    bench::BaselineForm form;
    bench::ExitAfterFirstPaint watch(form.window());
    form.window()->show();
    return QApplication::exec();
}
