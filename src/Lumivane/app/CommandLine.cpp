#include "app/CommandLine.h"

#include <QUrl>

#include <optional>

namespace {

// The first query item named "url" that has a value ("url=" has an empty one, "url" none).
std::optional<QString> urlQueryValue(const QUrl &url)
{
    const QString query = url.query(QUrl::FullyEncoded);
    if (query.isEmpty())
        return std::nullopt;
    for (const QString &item : query.split(u'&')) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals < 0)
            continue;
        if (QUrl::fromPercentEncoding(item.left(equals).toUtf8()) == u"url")
            return QUrl::fromPercentEncoding(item.mid(equals + 1).toUtf8());
    }
    return std::nullopt;
}

// A URL argument: an absolute URL with a scheme, or an absolute local path.
std::optional<QUrl> urlArgument(const QString &argument)
{
    if (argument.startsWith(u'/'))
        return QUrl::fromLocalFile(argument);
    if (argument.startsWith(u'-'))
        return std::nullopt;
    const QUrl url(argument, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace

namespace CommandLine {

QString openTextForUrl(const QUrl &url)
{
    if (url.scheme().toLower() == u"lumivane") {
        if (const std::optional<QString> value = urlQueryValue(url))
            return *value;
    }
    return url.toString(QUrl::FullyEncoded);
}

QList<Request> parse(const QStringList &arguments)
{
    QList<Request> requests;
    qsizetype end = arguments.indexOf(QStringLiteral("--webEngineArgs"), 1);
    if (end < 0)
        end = arguments.size();
    for (qsizetype i = 1; i < end; ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--open") {
            if (i + 1 < end)
                requests.append({Request::Action::open, arguments.at(++i)});
        } else if (argument == u"--action") {
            if (i + 1 >= end)
                continue;
            if (const std::optional<ShortcutAction> shortcut = shortcutActionFromRaw(arguments.at(++i)))
                requests.append({Request::Action::performShortcut, {}, *shortcut});
        } else if (argument == u"--settings") {
            requests.append({Request::Action::showSettings, {}});
        } else if (argument == u"--onboarding") {
            requests.append({Request::Action::showOnboarding, {}});
        } else if (const std::optional<QUrl> url = urlArgument(argument)) {
            requests.append({Request::Action::open, openTextForUrl(*url)});
        }
    }
    return requests;
}

} // namespace CommandLine
