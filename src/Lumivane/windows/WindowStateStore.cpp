#include "windows/WindowStateStore.h"

#include <QByteArray>
#include <QVariant>

namespace {

quint64 fnv1a64(const QByteArray &bytes)
{
    quint64 hash = 0xcbf29ce484222325ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

} // namespace

namespace WindowStateStore {

QString key(const QUrl &url)
{
    const QByteArray absolute = url.toString(QUrl::FullyEncoded).toUtf8();
    return QStringLiteral("winstate.") + QString::number(fnv1a64(absolute), 16);
}

std::optional<StoredWindowState> load(QSettings &settings, const QUrl &url)
{
    const QVariant stored = settings.value(key(url));
    // Only data values count; a text value under the key is not a record.
    if (stored.metaType().id() != QMetaType::QByteArray)
        return std::nullopt;
    return StoredWindowState::fromJson(stored.toByteArray());
}

void save(QSettings &settings, const StoredWindowState &state, const QUrl &url)
{
    const std::optional<QByteArray> data = state.toJson();
    if (!data)
        return;
    settings.setValue(key(url), *data);
}

} // namespace WindowStateStore
