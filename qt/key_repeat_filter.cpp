#include "qt/key_repeat_filter.h"

#include <QEvent>
#include <QGuiApplication>
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

// X11 sends a repeat as a release and a press at the same moment, and the platform
// sometimes leaves them unmarked. Elsewhere the repeats are Qt's own, always marked,
// while a compositor may give several real key events one time. A key event that a
// program makes carries no time at all.
bool KeyRepeatFilter::isRepeat(const QKeyEvent &press) const
{
    static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return press.isAutoRepeat()
            || (x11 && press.timestamp() != 0 && press.key() == m_releasedKey
                    && press.timestamp() == m_releasedAt);
}

} // namespace qt
