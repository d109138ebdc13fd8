#include "FakeHotKeyService.h"

void FakeHotKeyService::registerHotKeys(const QList<HotKey> &hotKeys)
{
    m_registered.clear();
    if (m_unavailable) {
        Q_EMIT unavailable();
        return;
    }
    for (const HotKey &hotKey : hotKeys) {
        if (!m_taken.contains(hotKey.id))
            m_registered.append(hotKey.id);
    }
    Q_EMIT answered(m_registered);
}

void FakeHotKeyService::unregisterAll()
{
    ++m_releases;
    m_registered.clear();
}
