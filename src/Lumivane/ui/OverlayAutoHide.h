#pragma once

#include <QObject>
#include <QTimer>

// When the overlay controls show. They show while the pointer is over the window and
// linger a while after it leaves or after the window appears; they never hide while
// auto-hide is off, the controls are pinned or the session is not ready.
class OverlayAutoHide final : public QObject
{
    Q_OBJECT

public:
    static constexpr int leaveDelayMs = 1600;
    static constexpr int appearDelayMs = 3200;

    explicit OverlayAutoHide(QObject *parent = nullptr);

    // Tests shorten the waits.
    void setDelays(int leaveMs, int appearMs);

    bool visible() const;
    bool hovering() const { return m_hovering; }
    bool linger() const { return m_linger; }
    bool hidePending() const { return m_hideTimer.isActive(); }

    void setAutoHide(bool on);
    void setControlsPinned(bool pinned);
    void setReady(bool ready);

    void pointerEntered();
    void pointerLeft();
    void appeared();

Q_SIGNALS:
    void visibleChanged(bool visible);

private:
    void lingerEnded();
    // Runs change, then reports a change of visibility.
    template <typename Change>
    void update(Change change);

    QTimer m_hideTimer;
    int m_leaveMs = leaveDelayMs;
    int m_appearMs = appearDelayMs;
    bool m_autoHide = true;
    bool m_controlsPinned = false;
    bool m_ready = false;
    bool m_hovering = false;
    bool m_linger = false;
};
