#pragma once

#include "platform/HotKeyService.h"

#include <QList>
#include <QSet>

// A HotKeyService that answers at once, as X11 grabs do: every hot key is registered unless
// the test marked its id as taken, or nothing is when the desktop is made unavailable.
// Presses are played with press().
class FakeHotKeyService final : public HotKeyService
{
    Q_OBJECT

public:
    void registerHotKeys(const QList<HotKey> &hotKeys) override;
    void unregisterAll() override;

    void setTaken(const QSet<quint32> &ids) { m_taken = ids; }
    void setUnavailable(bool unavailable) { m_unavailable = unavailable; }
    void press(quint32 id) { Q_EMIT activated(id); }

    // The ids of the hot keys registered now.
    const QList<quint32> &registered() const { return m_registered; }
    // Calls of unregisterAll(), which every reload makes first.
    int releaseCount() const { return m_releases; }

private:
    QSet<quint32> m_taken;
    bool m_unavailable = false;
    QList<quint32> m_registered;
    int m_releases = 0;
};
