#pragma once

#include <QObject>

class QKeyEvent;

namespace qt {

// Makes a held key one press on the Roll buttons it watches, so a held Enter or
// Space plays one turn. The platform marks most repeats of a held key, but on X11
// some come unmarked: a release and a press at the same moment.
class KeyRepeatFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    [[nodiscard]] bool isRepeat(const QKeyEvent &press) const;

    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};

} // namespace qt
