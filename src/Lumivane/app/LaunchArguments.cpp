#include "app/LaunchArguments.h"

#include <QFileInfo>
#include <QUrl>

namespace {
bool isRelativePath(const QString &text)
{
    if (text.isEmpty() || text.startsWith(u'/') || text.startsWith(u'~'))
        return false;
    // "https://…", "file:…", "lumivane:…" are links, not paths.
    const QUrl url(text, QUrl::StrictMode);
    return !(url.isValid() && !url.scheme().isEmpty() && text.contains(u':'));
}
} // namespace

namespace LaunchArguments {
QStringList absolutize(const QStringList &arguments, const QDir &workingFolder)
{
    QStringList result = arguments;
    for (qsizetype i = 1; i + 1 < result.size(); ++i) {
        if (result.at(i) == u"--webEngineArgs")
            break;
        if (result.at(i) != u"--open")
            continue;
        QString &value = result[++i];
        if (isRelativePath(value) && QFileInfo::exists(workingFolder.filePath(value)))
            value = QDir::cleanPath(workingFolder.absoluteFilePath(value));
    }
    return result;
}
} // namespace LaunchArguments
