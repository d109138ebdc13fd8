#include "playback/Screenshots.h"

#include <QTextBoundaryFinder>

namespace {

constexpr qsizetype maxCharacters = 80;
// Linux allows 255 bytes per file name; "-yyyyMMdd-HHmmss.png" takes 20 of them.
constexpr qsizetype maxBaseBytes = 255 - 20;

bool isForbidden(QChar c)
{
    static const QString separators = QStringLiteral("/\\:?%*|\"<>");
    // Line feed, carriage return and tab are among the control characters; a NUL would cut
    // the path short when it is handed to the file system.
    return separators.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7f;
}

QString replaceForbidden(const QString &name)
{
    QString result = name;
    for (QChar &c : result) {
        if (isForbidden(c))
            c = u'-';
    }
    return result;
}

// Cuts at a grapheme boundary, so an emoji or a letter with its marks stays whole.
QString leadingGraphemes(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    qsizetype count = 0;
    while (count < maxCharacters) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0 || text.left(next).toUtf8().size() > maxBaseBytes)
            break;
        end = next;
        ++count;
    }
    return text.left(end);
}

} // namespace

namespace Screenshots {

QString sanitizeFileName(const QString &name)
{
    return leadingGraphemes(replaceForbidden(name)).trimmed();
}

QString fileName(const QString &title, const QDateTime &moment)
{
    const QString base = sanitizeFileName(title.isEmpty() ? QStringLiteral("截图") : title);
    return base + QLatin1Char('-') + moment.toString(QStringLiteral("yyyyMMdd-HHmmss"))
        + QStringLiteral(".png");
}

} // namespace Screenshots
