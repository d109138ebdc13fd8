#include "playback/TrackChoice.h"

#include <QStringList>

namespace {
const QString audioKey = QStringLiteral("audio");
const QString subtitleKey = QStringLiteral("subtitle");
} // namespace

QString TrackChoice::toText() const
{
    QStringList parts;
    if (audio)
        parts << audioKey + u'=' + QString::number(*audio);
    if (subtitle)
        parts << subtitleKey + u'=' + QString::number(*subtitle);
    return parts.join(u' ');
}

TrackChoice TrackChoice::fromText(const QString &text)
{
    TrackChoice choice;
    for (const QString &part : text.split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.section(u'=', 1).toInt(&ok);
        const QString key = part.section(u'=', 0, 0);
        // Track ids start at 1; only subtitles have an "off".
        if (!ok || id < (key == subtitleKey ? 0 : 1))
            continue;
        if (key == audioKey)
            choice.audio = id;
        else if (key == subtitleKey)
            choice.subtitle = id;
    }
    return choice;
}
