#include "playback/WebEnhancer.h"

#include "playback/PageScripts.h"

#include "KiteCore/SiteCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <charconv>
#include <cmath>

namespace {

const QString selectorPlaceholder = QStringLiteral("__LUMIVANE_SELECTOR__");
const QString targetPlaceholder = QStringLiteral("__LUMIVANE_TARGET__");
const QString guardPlaceholder = QStringLiteral("__LUMIVANE_GUARD__");
const QString sitePlaceholder = QStringLiteral("__LUMIVANE_SITE__");
const QString watchPlaceholder = QStringLiteral("__LUMIVANE_WATCH_MS__");
const QString cssPlaceholder = QStringLiteral("__LUMIVANE_CSS__");
const QString separator = QStringLiteral("\n;\n");

// A site whose page script does more than style the page: site-<id>.js.
SiteAdapter scriptedAdapter(const QString &siteID, std::optional<QString> selector)
{
    return SiteAdapter{siteID, {PageScripts::text(QStringLiteral("site-%1.js").arg(siteID))}, std::move(selector)};
}

// A site that only gets its style, site-<id>.css, once per page: guard names the page global
// that says it ran; for watchMs the style is put back whenever the page drops it.
SiteAdapter styledAdapter(const QString &siteID, const QString &guard, std::optional<QString> selector,
                          int watchMs = 0)
{
    const QString css = PageScripts::text(QStringLiteral("site-%1.css").arg(siteID));
    const QString source = PageScripts::text(QStringLiteral("site-style.js"))
                               .replace(guardPlaceholder, guard)
                               .replace(sitePlaceholder, WebEnhancer::jsLiteral(siteID))
                               .replace(watchPlaceholder, QString::number(watchMs))
                               .replace(cssPlaceholder, WebEnhancer::jsLiteral(css));
    return SiteAdapter{siteID, {source}, std::move(selector)};
}

const QList<SiteAdapter> &adapters()
{
    static const QList<SiteAdapter> table{
        scriptedAdapter("youtube", "#movie_player video, ytd-player video, video"),
        styledAdapter("twitch", "__lumivaneTW",
                      "[data-a-target=\"video-player\"] video, .video-player video, video"),
        styledAdapter("bilibili", "__lumivaneBL", "#bilibili-player video, .bpx-player-container video, video"),
        styledAdapter("bilibili-live", "__lumivaneBLLive",
                      "#player-ctnr video, .player video, #live-player video, video"),
        // The play bar mounts late.
        styledAdapter("netease", "__lumivaneNE", "#g_player audio, .m-playbar audio, audio", 4000),
        styledAdapter("vimeo", "__lumivaneVM",
                      ".vp-player video, #player video, [data-testid=\"player\"] video, video"),
        styledAdapter("huya", "__lumivaneHY",
                      "#playerWrap video, #player-wrap video, .player-wrap video, .video-player video, video"),
        styledAdapter("weibo", "__lumivaneWB", ".video-player video, .mwb-layer video, .card-video video, video"),
        styledAdapter("youku", "__lumivaneYK",
                      "#ykPlayer video, .youku-player video, .h5player-container video, video"),
        styledAdapter("qqmusic", "__lumivaneQQ", "audio"),
        styledAdapter("dailymotion", "__lumivaneDM", std::nullopt),
        styledAdapter("soundcloud", "__lumivaneSC", "audio"),
        styledAdapter("pornhub", "__lumivanePH", "video.mgp_videoElement, #player video, video"),
        styledAdapter("xvideos", "__lumivaneXV", "#html5video video, #fakeplayer video, video"),
        styledAdapter("xhamster", "__lumivaneXH",
                      "#xplayer__video, .xplayer video, .player-container video, video"),
        styledAdapter("redtube", "__lumivaneRT", "video.mgp_videoElement, #redtube-player video, video"),
    };
    return table;
}

std::optional<SiteEntry> catalogueEntry(const QUrl &url)
{
    if (!url.isValid())
        return std::nullopt;
    return SiteCatalog::match(url.host());
}

// Shortest text that reads back as the same double; JavaScript parses it the same way.
QString numberLiteral(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (result.ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer.data(), static_cast<qsizetype>(result.ptr - buffer.data()));
}

QString operationName(WebEnhancer::MediaControl op)
{
    using enum WebEnhancer::MediaControl;
    switch (op) {
    case togglePlay: return QStringLiteral("toggle");
    case seek: return QStringLiteral("seek");
    case volume: return QStringLiteral("volume");
    case speed: return QStringLiteral("speed");
    case loop: return QStringLiteral("loop");
    case danmaku: return QStringLiteral("danmaku");
    }
    return QString();
}

// media-control.js is one function expression: called with the operation's name and the
// value's literal, if any.
QString controlCall(WebEnhancer::MediaControl op, const QString &value)
{
    QString arguments = QLatin1Char('\'') + operationName(op) + QLatin1Char('\'');
    if (!value.isEmpty())
        arguments += QStringLiteral(", ") + value;
    return QLatin1Char('(') + PageScripts::text(QStringLiteral("media-control.js")).trimmed() + QStringLiteral(")(")
        + arguments + QLatin1Char(')');
}

} // namespace

namespace WebEnhancer {

std::optional<SiteAdapter> adapter(const QUrl &url)
{
    const std::optional<SiteEntry> entry = catalogueEntry(url);
    if (!entry)
        return std::nullopt;
    for (const SiteAdapter &candidate : adapters()) {
        if (candidate.siteID == entry->id)
            return candidate;
    }
    return std::nullopt;
}

QList<WebPage::UserScript> scripts(const QUrl &url, bool cleanupEnabled, bool bilibiliClean)
{
    const std::optional<SiteAdapter> site = adapter(url);
    QStringList parts;
    parts << PageScripts::text(QStringLiteral("primary-media.js"))
                 .replace(selectorPlaceholder,
                          jsLiteral(site ? site->primaryMediaSelector : std::nullopt));
    if (cleanupEnabled) {
        parts << PageScripts::text(QStringLiteral("base-cleanup.js"));
        if (site) {
            parts << site->scripts;
            if (site->siteID == QLatin1String("bilibili") && bilibiliClean)
                parts << PageScripts::text(QStringLiteral("bilibili-clean.js"));
        }
    }
    const std::optional<SiteEntry> entry = catalogueEntry(url);
    if (entry && entry->id == QLatin1String("bilibili"))
        parts << PageScripts::text(QStringLiteral("danmaku-overlay.js"));

    const QString source = parts.join(separator);
    return {
        WebPage::UserScript{QStringLiteral("lumivane-end"), source, WebPage::Injection::documentReady},
        WebPage::UserScript{QStringLiteral("lumivane-start"), source,
                            WebPage::Injection::documentCreation},
    };
}

QString jsLiteral(const std::optional<QString> &value)
{
    if (!value)
        return QStringLiteral("null");
    const QByteArray json = QJsonDocument(QJsonArray{*value}).toJson(QJsonDocument::Compact);
    if (json.size() < 2 || !json.startsWith('[') || !json.endsWith(']'))
        return QStringLiteral("null");
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString hidePauseScript()
{
    return PageScripts::text(QStringLiteral("hide-pause.js"));
}

QString showResumeScript()
{
    return PageScripts::text(QStringLiteral("show-resume.js"));
}

QString pageThumbnailScript()
{
    return PageScripts::text(QStringLiteral("page-thumbnail.js"));
}

QString siteStructureScanScript()
{
    return PageScripts::text(QStringLiteral("site-structure-scan.js"));
}

QString mediaStateScript()
{
    return PageScripts::text(QStringLiteral("media-state.js"));
}

QString recoveryScript(double target)
{
    // A position the page cannot take (not a number, infinite, negative) becomes the start.
    const double position = std::isfinite(target) && target > 0 ? target : 0.0;
    return PageScripts::text(QStringLiteral("recovery.js"))
        .replace(targetPlaceholder, numberLiteral(position));
}

QString mediaControlScript(MediaControl op)
{
    return controlCall(op, QString());
}

QString mediaControlScript(MediaControl op, double value)
{
    if (!std::isfinite(value))
        return QString();
    return controlCall(op, numberLiteral(value));
}

QString mediaControlScript(MediaControl op, bool value)
{
    return controlCall(op, value ? QStringLiteral("true") : QStringLiteral("false"));
}

} // namespace WebEnhancer
