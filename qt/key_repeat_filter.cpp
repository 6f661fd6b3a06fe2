#include "qt/key_repeat_filter.h"

#include <QEvent>
#include <QKeyEvent>

namespace qt {

// Enter clicks a Roll button on every press it gets, Space on the release after a
// press. Without the repeated presses a held Space has one release that clicks:
// that of its first unmarked repeat, or the key's own.
bool KeyRepeatFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        const auto &release = static_cast<const QKeyEvent &>(*event);
        m_releasedKey = release.key();
        m_releasedAt = release.timestamp();
    }
    if (event->type() == QEvent::KeyPress && isRepeat(static_cast<const QKeyEvent &>(*event)))
        return true;
    return QObject::eventFilter(watched, event);
}

// A key event that a program makes carries no time at all.
bool KeyRepeatFilter::isRepeat(const QKeyEvent &press) const
{
    return press.isAutoRepeat()
            || (press.timestamp() != 0 && press.key() == m_releasedKey
                    && press.timestamp() == m_releasedAt);
}

} // namespace qt
