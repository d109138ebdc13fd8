#include "windows/PlaylistStore.h"

#include "KiteCore/L10n.h"
#include "KiteCore/StoredJson.h"

#include <algorithm>

PlaylistStore::PlaylistStore(QString fileName, Clock now)
    : m_fileName(std::move(fileName))
    , m_now(std::move(now))
{
    load();
}

QUrl PlaylistStore::fileURL() const
{
    return QUrl::fromLocalFile(m_fileName);
}

int PlaylistStore::add(const QList<PlaylistItem> &newItems)
{
    int added = 0;
    for (const PlaylistItem &item : newItems) {
        if (m_items.size() >= maxItems)
            break;
        if (contains(item.urlString))
            continue;
        m_items.append(item);
        ++added;
    }
    if (added > 0)
        persist();
    return added;
}

void PlaylistStore::remove(const QUuid &id)
{
    m_items.removeIf([&id](const PlaylistItem &item) { return item.id == id; });
    persist();
}

void PlaylistStore::clearItems()
{
    m_items.clear();
}

void PlaylistStore::persist()
{
    const auto saved = StoredJson::saveList(m_fileName, m_items);
    if (saved)
        m_persistenceError.reset();
    else
        m_persistenceError = L("播放列表保存失败：", "Couldn't save the playlist: ",
                               "No se ha podido guardar la lista: ")
                             + saved.error();
}

void PlaylistStore::load()
{
    auto items = StoredJson::loadList<PlaylistItem>(m_fileName, m_now());
    if (items)
        m_items = std::move(*items);
    else
        m_persistenceError = L("播放列表读取失败：", "Couldn't read the playlist: ",
                               "No se ha podido leer la lista: ")
                             + items.error();
}

bool PlaylistStore::contains(const QString &urlString) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(),
                       [&urlString](const PlaylistItem &item) { return item.urlString == urlString; });
}
