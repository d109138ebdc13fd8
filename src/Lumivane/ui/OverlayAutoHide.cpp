#include "ui/OverlayAutoHide.h"

#include "ui/OverlayRules.h"

OverlayAutoHide::OverlayAutoHide(QObject *parent)
    : QObject(parent)
{
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, &OverlayAutoHide::lingerEnded);
}

void OverlayAutoHide::setDelays(int leaveMs, int appearMs)
{
    m_leaveMs = leaveMs;
    m_appearMs = appearMs;
}

bool OverlayAutoHide::visible() const
{
    return OverlayRules::controlsVisible({.autoHide = m_autoHide,
                                          .controlsPinned = m_controlsPinned,
                                          .ready = m_ready,
                                          .hovering = m_hovering,
                                          .linger = m_linger});
}

template <typename Change>
void OverlayAutoHide::update(Change change)
{
    const bool before = visible();
    change();
    if (visible() != before)
        Q_EMIT visibleChanged(visible());
}

void OverlayAutoHide::setAutoHide(bool on)
{
    update([&] { m_autoHide = on; });
}

void OverlayAutoHide::setControlsPinned(bool pinned)
{
    update([&] { m_controlsPinned = pinned; });
}

void OverlayAutoHide::setReady(bool ready)
{
    update([&] { m_ready = ready; });
}

void OverlayAutoHide::pointerEntered()
{
    m_hideTimer.stop();
    update([&] {
        m_hovering = true;
        m_linger = true;
    });
}

void OverlayAutoHide::pointerLeft()
{
    update([&] { m_hovering = false; });
    if (m_autoHide && !m_controlsPinned)
        m_hideTimer.start(m_leaveMs);
}

void OverlayAutoHide::appeared()
{
    update([&] { m_linger = true; });
    m_hideTimer.start(m_appearMs);
}

void OverlayAutoHide::lingerEnded()
{
    // Settings may have changed while waiting; a pointer back over the window keeps them.
    if (!m_autoHide || m_controlsPinned || m_hovering)
        return;
    update([&] { m_linger = false; });
}
