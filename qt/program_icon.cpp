#include "qt/program_icon.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace qt {

namespace {

// The sixteen colours of the classic desktop palette.
QList<QRgb> sixteenColours()
{
    return {qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0),
            qRgb(0, 0, 128), qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0),
            qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QImage drawDie(int size, QColor face, QColor pips)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(face);
    painter.drawRect(0, 0, size - 1, size - 1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pips);
    const int pip = size / 6 + 1;
    constexpr std::array<QPointF, 5> Five{
            {{0.25, 0.25}, {0.75, 0.25}, {0.5, 0.5}, {0.25, 0.75}, {0.75, 0.75}}};
    for (const QPointF &at : Five) {
        const int x = qRound(at.x() * size) - pip / 2;
        const int y = qRound(at.y() * size) - pip / 2;
        painter.drawRect(x, y, pip, pip);
    }
    return image;
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    const QImage twoColours = drawDie(32, Qt::white, Qt::black).convertToFormat(QImage::Format_Mono,
            Qt::ThresholdDither);
    icon.addPixmap(QPixmap::fromImage(twoColours));
    const QList<QRgb> palette = sixteenColours();
    for (const int size : {64, 32, 16}) {
        const QImage image = drawDie(size, QColor(255, 255, 0), QColor(255, 0, 0))
                                     .convertToFormat(QImage::Format_Indexed8, palette,
                                             Qt::ThresholdDither);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace qt
