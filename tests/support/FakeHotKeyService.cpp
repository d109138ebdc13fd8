#include "FakeHotKeyService.h"

void FakeHotKeyService::registerHotKeys(const QList<HotKey> &hotKeys)
{
    m_registered.clear();
    ++m_requests;
    if (m_unavailable) {
        Q_EMIT unavailable();
        return;
    }
    QList<quint32> ids;
    for (const HotKey &hotKey : hotKeys) {
        if (m_taken.contains(hotKey.id))
            continue;
        m_registered.append(hotKey);
        ids.append(hotKey.id);
    }
    Q_EMIT answered(ids);
}

void FakeHotKeyService::unregisterAll()
{
    ++m_releases;
    m_registered.clear();
}
