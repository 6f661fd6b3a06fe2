// Every caption on the window stands out from its label's background, measured in the
// window's pixels, under a light, a dark and a high-contrast colour scheme.
#include "window_fixture.h"

#include <QApplication>
#include <QImage>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <map>

using namespace window_tests;

class ContrastTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCaptionStandsOutUnderEveryScheme_data();
    void everyCaptionStandsOutUnderEveryScheme();
};

namespace {

constexpr double LeastContrast = 4.5; // the least that reads well as normal-sized text

QPalette scheme(const QColor &text, const QColor &face, const QColor &window)
{
    return {text, face, face.lighter(), face.darker(), face.darker(120), text, text, window,
            window};
}

// Relative luminance and contrast as the accessibility guidelines define them, worked
// out here on their own so that a slip in the game's caption colour formula shows.
double luminance(QRgb pixel)
{
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel))
            + 0.0722 * linear(qBlue(pixel));
}

double contrastRatio(QRgb first, QRgb second)
{
    const auto [darker, lighter] = std::minmax({luminance(first), luminance(second)});
    return (lighter + 0.05) / (darker + 0.05);
}

// The contrast of a control's caption: its background is its most common pixel, its
// caption the pixel farthest from that in luminance. The outermost pixel row, which
// neighbours share, is left out.
double captionContrast(const QImage &shot, const QWidget &control)
{
    const QRect area = control.geometry().adjusted(1, 1, -1, -1).intersected(shot.rect());
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y) | 0xff000000];
    const QRgb background = std::max_element(counts.begin(), counts.end(),
            [](const auto &a, const auto &b) { return a.second < b.second; })->first;
    const double behind = luminance(background);
    const auto distance = [behind](QRgb pixel) { return std::abs(luminance(pixel) - behind); };
    const QRgb caption = std::max_element(counts.begin(), counts.end(),
            [&](const auto &a, const auto &b) { return distance(a.first) < distance(b.first); })->first;
    return contrastRatio(caption, background);
}

} // namespace

void ContrastTest::everyCaptionStandsOutUnderEveryScheme_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << scheme(QColor(238, 238, 236), QColor(60, 60, 60), QColor(42, 42, 42));
    QTest::newRow("high contrast") << scheme(Qt::yellow, Qt::black, Qt::black);
}

void ContrastTest::everyCaptionStandsOutUnderEveryScheme()
{
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette); // before the window is made, as a desktop's scheme is
    Fixture window;
    QString lowest;
    double least = 21.0;
    const auto measure = [&](const char *when) {
        const QImage shot = window.velmarsh.window()->grab().toImage();
        for (const auto &spec : layout::ControlTable) {
            const QWidget *control = window.velmarsh.control(spec.control);
            if (!control->isVisibleTo(window.velmarsh.window()))
                continue;
            const double contrast = captionContrast(shot, *control);
            if (contrast < least) {
                least = contrast;
                lowest = control->objectName() + u' ' + QLatin1StringView(when);
            }
        }
    };
    measure("at the opening");
    window.random.queueFaces({6, 6, 6, 6, 6, 6}); // every category of player 1 lit
    QTest::mouseClick(window.roll(1), Qt::LeftButton);
    measure("after player 1's turn");
    window.random.queueFaces({1, 1, 2, 3, 4, 5}); // the lower gain: Gain(1) green, Gain(2) red
    QTest::mouseClick(window.roll(2), Qt::LeftButton);
    measure("after the round");
    qInfo("%s: lowest caption contrast %.2f, %s", QTest::currentDataTag(), least,
            qPrintable(lowest));
    QVERIFY2(least >= LeastContrast, qPrintable(lowest));
}

QTEST_MAIN(ContrastTest)
#include "contrast_test.moc"
