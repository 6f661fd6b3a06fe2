#include "qt/game_label.h"

#include <QPainter>
#include <QPen>

namespace qt {

GameLabel::GameLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void GameLabel::setBorder(bool border)
{
    if (border == m_border)
        return;
    m_border = border;
    const int margin = border ? 1 : 0;
    setContentsMargins(margin, margin, margin, margin);
    update();
}

void GameLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!m_border)
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0)); // cosmetic: one device pixel
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace qt
