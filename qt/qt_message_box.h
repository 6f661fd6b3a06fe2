#pragma once

#include "rules/message_box.h"

#include <memory>

class QMessageBox;
class QString;

namespace qt {

// The real message box: modal to the whole application, OK only, no icon.
class QtMessageBox : public rules::MessageBox
{
public:
    void show(std::string_view title, std::string_view text) override;

    // The box exactly as show() opens it, for a look at its settings.
    [[nodiscard]] static std::unique_ptr<QMessageBox> create(const QString &title,
            const QString &text);
};

} // namespace qt
