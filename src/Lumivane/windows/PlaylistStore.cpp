#include "windows/PlaylistStore.h"

#include "KiteCore/L10n.h"
#include "KiteCore/SafeFile.h"
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
    const auto written = SafeFile::write(m_fileName, StoredJson::encodeList(m_items));
    if (written)
        m_persistenceError.reset();
    else
        m_persistenceError = written.error();
}

void PlaylistStore::load()
{
    auto items = StoredJson::readList<PlaylistItem>(m_fileName);
    if (!items) {
        failLoad(items.error());
        return;
    }
    m_items = std::move(*items);
}

// The next save replaces the file, so the damaged one is kept aside first.
void PlaylistStore::failLoad(const QString &reason)
{
    const auto copy = SafeFile::keepDamagedCopy(m_fileName, m_now());
    const QString kept = copy ? L("原文件已另存为：%1", "the damaged file was kept as %1",
                                  "el archivo dañado se guardó como %1").arg(*copy)
                              : L("原文件无法另存：%1", "the damaged file could not be kept: %1",
                                  "no se pudo guardar el archivo dañado: %1").arg(copy.error());
    m_persistenceError = reason + QStringLiteral(" — ") + kept;
}

bool PlaylistStore::contains(const QString &urlString) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(),
                       [&urlString](const PlaylistItem &item) { return item.urlString == urlString; });
}
