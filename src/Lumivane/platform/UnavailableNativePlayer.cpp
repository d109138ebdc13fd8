#include "platform/UnavailableNativePlayer.h"

#include <QMetaObject>
#include <QWidget>

quint64 UnavailableNativePlayer::load(const QUrl &)
{
    m_error.reset();
    m_item = ++m_lastItem;
    const quint64 item = m_item;
    // Told later, as a player would: the caller is still setting up.
    QMetaObject::invokeMethod(this, [this, item] {
        if (item != m_item)
            return;
        m_error = PlatformError{PlatformError::Domain::other, PlatformError::playerUnavailable,
                                QStringLiteral("no player engine")};
        Q_EMIT statusChanged(item);
    }, Qt::QueuedConnection);
    return m_item;
}

void UnavailableNativePlayer::unload()
{
    m_item = 0;
    m_error.reset();
}

void UnavailableNativePlayer::saveFrame(const QString &, FrameCallback done)
{
    QMetaObject::invokeMethod(this, [done] { done(false, QStringLiteral("no player engine")); }, Qt::QueuedConnection);
}

QWidget *UnavailableNativePlayer::createVideoWidget(QWidget *parent)
{
    return new QWidget(parent);
}
