#include "PlaylistStore.h"

#include "L10n.h"
#include "SafeFile.h"
#include "StoredJson.h"

#include <algorithm>

namespace {

std::expected<QList<PlaylistItem>, QString> decode(const QByteArray &data)
{
    const auto array = StoredJson::parseArray(data);
    if (!array)
        return std::unexpected(array.error());
    QList<PlaylistItem> items;
    items.reserve(array->size());
    for (qsizetype i = 0; i < array->size(); ++i) {
        if (!array->at(i).isObject())
            return std::unexpected(QStringLiteral("entry %1: not an object").arg(i + 1));
        const auto item = PlaylistItem::fromJson(array->at(i).toObject());
        if (!item)
            return std::unexpected(QStringLiteral("entry %1: %2").arg(i + 1).arg(item.error()));
        items.append(*item);
    }
    return items;
}

QByteArray encode(const QList<PlaylistItem> &items)
{
    QJsonArray array;
    for (const PlaylistItem &item : items)
        array.append(item.toJson());
    return StoredJson::compact(array);
}

} // namespace

PlaylistStore::PlaylistStore(QString fileName, Clock now)
    : m_fileName(std::move(fileName))
    , m_now(std::move(now))
{
    load();
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
    const auto written = SafeFile::write(m_fileName, encode(m_items));
    if (written)
        m_persistenceError.reset();
    else
        m_persistenceError = written.error();
}

void PlaylistStore::load()
{
    SafeFile::removeStaleTemporaries(m_fileName);
    const auto data = SafeFile::read(m_fileName);
    if (!data) {
        failLoad(data.error());
        return;
    }
    if (!*data)
        return;
    auto decoded = decode(**data);
    if (!decoded) {
        failLoad(decoded.error());
        return;
    }
    m_items = std::move(*decoded);
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
