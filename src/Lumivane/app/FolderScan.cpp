#include "app/FolderScan.h"

#include "KiteCore/MediaInput.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace {

bool isScannedMediaFile(const QFileInfo &file)
{
    return MediaInput::localMediaExtensions().contains(file.suffix().toLower());
}

// Depth first, each folder's entries by name so the result does not depend on the file
// system's directory order. visited holds canonical paths of folders already entered.
void collect(const QString &folderPath, QSet<QString> &visited, QList<PlaylistItem> &items)
{
    const QString canonical = QFileInfo(folderPath).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);

    const QDir folder(folderPath);
    const QFileInfoList entries = folder.entryInfoList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            collect(entry.filePath(), visited, items);
            continue;
        }
        if (!isScannedMediaFile(entry))
            continue;
        const auto source = MediaInput::parse(entry.absoluteFilePath());
        if (source)
            items.append(PlaylistItem::fromSource(*source));
    }
}

// The C locale's collator compares code points and ignores numeric mode, so a process
// started without a locale sorts like an English one instead.
QLocale collationLocale()
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
}

void sortByTitle(QList<PlaylistItem> &items)
{
    QCollator collator(collationLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(items.begin(), items.end(), [&collator](const PlaylistItem &a, const PlaylistItem &b) {
        return collator.compare(a.title, b.title) < 0;
    });
}

} // namespace

namespace FolderScan {

QList<PlaylistItem> mediaItems(const QUrl &folder)
{
    if (!folder.isLocalFile() || !QFileInfo(folder.toLocalFile()).isDir())
        return {};
    QSet<QString> visited;
    QList<PlaylistItem> items;
    collect(folder.toLocalFile(), visited, items);
    sortByTitle(items);
    return items;
}

} // namespace FolderScan
