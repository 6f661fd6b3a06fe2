#include "qt/qt_message_box.h"

#include <QMessageBox>
#include <QString>

namespace qt {

std::unique_ptr<QMessageBox> QtMessageBox::create(const QString &title, const QString &text)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(title);
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setIcon(QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

void QtMessageBox::show(std::string_view title, std::string_view text)
{
    const auto box = create(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    box->exec();
}

} // namespace qt
