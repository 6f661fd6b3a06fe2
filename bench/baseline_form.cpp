#include "baseline_form.h"

#include "layout/control_table.h"
#include "qt/fonts.h"
#include "rules/controls.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>

#include <cmath>
#include <string_view>

namespace bench {

namespace {

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

int pixels(int twips, qreal dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QRect rect(int left, int top, int width, int height, qreal dpi)
{
    const int x = pixels(left, dpi);
    const int y = pixels(top, dpi);
    return {x, y, pixels(left + width, dpi) - x, pixels(top + height, dpi) - y};
}

int rowOf(std::string_view name, int index)
{
    for (std::size_t row = 0; row < layout::ControlTable.size(); ++row) {
        if (layout::ControlTable[row].control == rules::Control{name, index})
            return static_cast<int>(row);
    }
    return -1;
}

} // namespace

BaselineForm::BaselineForm() : m_form(std::make_unique<QWidget>())
{
    m_form->setWindowTitle(text(layout::WindowCaption));
    m_form->setFont(qt::windowFont());
    const qreal dpi = m_form->logicalDpiX();
    m_form->resize(pixels(layout::ClientWidthTwips, dpi), pixels(layout::ClientHeightTwips, dpi));
    const QPalette windowPalette = m_form->palette();
    for (std::size_t row = 0; row < layout::ControlTable.size(); ++row) {
        const auto &entry = layout::ControlTable[row];
        QWidget *widget = nullptr;
        if (entry.kind == layout::ControlKind::Button) {
            auto *button = new QPushButton(text(entry.caption), m_form.get());
            widget = button;
        } else {
            auto *label = new QLabel(m_form.get());
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setText(text(entry.caption));
            QPalette palette = windowPalette;
            if (entry.background)
                palette.setColor(QPalette::Window,
                        QColor(entry.background->red, entry.background->green,
                                entry.background->blue));
            label->setPalette(palette);
            label->setAutoFillBackground(entry.background.has_value());
            label->setFrameStyle(entry.border == layout::Border::Single ? QFrame::Box | QFrame::Plain
                                                                     : QFrame::NoFrame);
            label->setLineWidth(1);
            label->setAlignment(entry.align == layout::Align::Centre
                            ? Qt::AlignHCenter | Qt::AlignVCenter
                            : Qt::AlignLeft | Qt::AlignTop);
            widget = label;
        }
        widget->setGeometry(rect(entry.left, entry.top, entry.width, entry.height, dpi));
        widget->setFont(entry.font == layout::FontKind::Large ? qt::largeFont() : qt::windowFont());
        widget->setVisible(entry.visible);
        m_widgets[row] = widget;
    }

    std::size_t next = 0;
    const auto captioned = [&](std::string_view name, int index) {
        m_captioned[next++] =
                static_cast<QLabel *>(m_widgets[static_cast<std::size_t>(rowOf(name, index))]);
    };
    for (int die = 1; die <= 12; ++die)
        captioned(rules::name::Die, die);
    for (const std::string_view sum :
            {rules::name::L2, rules::name::L3, rules::name::L4, rules::name::L5, rules::name::L6})
        captioned(sum, 0);
    captioned(rules::name::Score, 1);
    captioned(rules::name::Gain, 1);
    captioned(rules::name::Gain, 2);

    next = 0;
    for (int player = 1; player <= 2; ++player) {
        for (const std::string_view category : {rules::name::Pair, rules::name::Triple,
                     rules::name::Quad, rules::name::Quint, rules::name::Tornel})
            m_coloured[next++] = static_cast<QLabel *>(
                    m_widgets[static_cast<std::size_t>(rowOf(category, player))]);
    }
}

void BaselineForm::update()
{
    ++m_updates;
    const bool odd = (m_updates % 2) != 0;
    for (std::size_t i = 0; i < m_captioned.size(); ++i)
        m_captioned[i]->setText(QString::number((m_updates + static_cast<long>(i)) % 6 + 1));
    const QColor colour = odd ? QColor(255, 191, 0) : QColor(255, 255, 255);
    for (QLabel *label : m_coloured) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, colour);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    }
}

} // namespace bench
