#include "KiteCore/MediaInput.h"

#include "KiteCore/SiteCatalog.h"
#include "KiteCore/TextBounds.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>
#include <utility>

namespace {

// The video site's hosts and its thumbnail image host.
const QLatin1String videoSiteMainHost("youtube.com");
const QLatin1String videoSiteShortHost("youtu.be");
const QLatin1String videoSiteEmbedDomain("youtube-nocookie.com");
const QLatin1String videoSiteImageHost("i.ytimg.com");

const QLatin1String youTubeIDAlphabet(
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
constexpr qsizetype youTubeIDLength = 11;

const std::array<std::pair<QChar, QChar>, 4> quotePairs{{
    {QChar(0x0022), QChar(0x0022)},
    {QChar(0x0027), QChar(0x0027)},
    {QChar(0x201C), QChar(0x201D)},
    {QChar(0x2018), QChar(0x2019)},
}};

bool isLocalPath(const QString &text)
{
    return text.startsWith(QLatin1Char('/')) || text == QLatin1String("~")
           || text.startsWith(QLatin1String("~/"));
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString strippingPairedQuotes(const QString &text)
{
    if (text.size() < 2)
        return text;
    for (const auto &[opening, closing] : quotePairs) {
        if (text.front() == opening && text.back() == closing)
            return text.mid(1, text.size() - 2);
    }
    return text;
}

std::optional<QString> schemePrefix(const QString &text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon <= 0 || !isAsciiLetter(text.front()))
        return std::nullopt;
    const QStringView candidate = QStringView(text).left(colon);
    for (QChar c : candidate) {
        const bool allowed = isAsciiLetter(c) || isAsciiDigit(c) || c == QLatin1Char('+')
                             || c == QLatin1Char('-');
        if (!allowed)
            return std::nullopt;
    }
    return candidate.toString().toLower();
}

// The extension of the last path component, without the dot; empty when there is none.
QString pathExtension(const QString &path)
{
    QStringView view(path);
    while (view.size() > 1 && view.endsWith(QLatin1Char('/')))
        view.chop(1);
    const QStringView component = view.mid(view.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = component.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : component.mid(dot + 1).toString();
}

// Unicode letters, marks and digits, like the platform's alphanumerics class.
bool isAlphanumeric(char32_t scalar)
{
    switch (QChar::category(scalar)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

bool isHostLabel(QStringView label)
{
    if (label.isEmpty())
        return false;
    for (char32_t scalar : label.toUcs4()) {
        if (!isAlphanumeric(scalar) && scalar != U'-' && scalar != U'_')
            return false;
    }
    return true;
}

bool looksLikeBareHost(const QString &text)
{
    if (isLocalPath(text))
        return false;
    if (text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('\t'))
        || text.contains(QLatin1Char('\n')))
        return false;
    QStringView authority(text);
    for (QChar separator : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')})
        authority = authority.left(authority.indexOf(separator));
    if (authority.isEmpty())
        return false;
    const QStringView hostName = authority.left(authority.indexOf(QLatin1Char(':')));
    if (hostName.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QList<QStringView> labels = hostName.split(QLatin1Char('.'));
    if (labels.size() < 2)
        return false;
    for (QStringView label : labels) {
        if (!isHostLabel(label))
            return false;
    }
    if (text.contains(QLatin1Char('/')))
        return true;
    // A bare file name such as clip.mp4 is not a host.
    return !MediaInput::isMediaFileExtension(pathExtension(text));
}

int hexValue(QChar c)
{
    if (isAsciiDigit(c))
        return c.unicode() - '0';
    const char16_t lower = c.toLower().unicode();
    if (lower >= u'a' && lower <= u'f')
        return lower - u'a' + 10;
    return -1;
}

// Decodes %XX escapes; absent when an escape is broken or the bytes are not UTF-8.
std::optional<QString> removingPercentEncoding(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('%')) {
            const qsizetype start = i;
            while (i + 1 < text.size() && text.at(i + 1) != QLatin1Char('%'))
                ++i;
            bytes.append(QStringView(text).mid(start, i - start + 1).toUtf8());
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text.at(i + 1));
        const int low = hexValue(text.at(i + 2));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return decoded;
}

std::optional<QString> filePath(const QString &text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    QString rest = text.mid(colon + 1);
    if (rest.startsWith(QLatin1String("//"))) {
        rest.remove(0, 2);
        const QString lowered = rest.toLower();
        if (lowered.startsWith(QLatin1String("localhost/"))) {
            rest.remove(0, 9);
        } else if (lowered == QLatin1String("localhost")) {
            rest = QStringLiteral("/");
        } else if (!rest.startsWith(QLatin1Char('/'))) {
            const qsizetype slash = rest.indexOf(QLatin1Char('/'));
            if (slash < 0)
                return std::nullopt;
            rest.remove(0, slash);
        }
    }
    const QString decoded = removingPercentEncoding(rest).value_or(rest);
    if (!decoded.startsWith(QLatin1Char('/')))
        return std::nullopt;
    return decoded;
}

QString withoutTrailingSlashes(const QString &path)
{
    QString result = path;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

QString lastComponent(const QString &path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    if (trimmed == QLatin1String("/"))
        return trimmed;
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

QString fileTitle(const QString &path)
{
    const QString name = lastComponent(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? name : name.left(dot);
    return stem.isEmpty() ? name : stem;
}

QString fileSubtitle(const QString &path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    const QString parent = withoutTrailingSlashes(slash <= 0 ? QStringLiteral("/") : trimmed.left(slash));
    const QString name = lastComponent(parent);
    if (parent == QLatin1String("/") || name.isEmpty())
        return QStringLiteral("本机文件");
    return name;
}

std::expected<MediaSource, MediaInputError> localSource(const QString &path, bool expandingTilde)
{
    QString expanded = path;
    if (expandingTilde && (path == QLatin1String("~") || path.startsWith(QLatin1String("~/"))))
        expanded = QDir::homePath() + path.mid(1);
    const QFileInfo info(expanded);
    if (!info.exists())
        return std::unexpected(MediaInputError::unreadableFile(expanded));
    // A folder's URL ends in "/", as the platform writes folder URLs.
    QString urlPath = expanded;
    if (info.isDir() && !urlPath.endsWith(QLatin1Char('/')))
        urlPath += QLatin1Char('/');
    return MediaSource(QUrl::fromLocalFile(urlPath), MediaKind::localFile, fileTitle(expanded),
                       fileSubtitle(expanded));
}

bool isValidYouTubeID(const QString &candidate)
{
    if (candidate.size() != youTubeIDLength)
        return false;
    for (QChar c : candidate) {
        if (!youTubeIDAlphabet.contains(c))
            return false;
    }
    return true;
}

// The value of the first query item with this name; absent when the item has no value.
std::optional<QString> firstQueryValue(const QUrl &url, const QString &name)
{
    if (!url.hasQuery())
        return std::nullopt;
    const QString query = url.query(QUrl::FullyEncoded);
    for (QStringView item : QStringView(query).split(QLatin1Char('&'))) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        const QStringView itemName = equals < 0 ? item : item.left(equals);
        if (QUrl::fromPercentEncoding(itemName.toUtf8()) != name)
            continue;
        if (equals < 0)
            return std::nullopt;
        return QUrl::fromPercentEncoding(item.mid(equals + 1).toUtf8());
    }
    return std::nullopt;
}

bool isSiteHost(const QString &host, QLatin1String domain)
{
    return host == domain || host.endsWith(QLatin1Char('.') + domain);
}

std::expected<MediaSource, MediaInputError> webSource(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::unexpected(MediaInputError::malformed());
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return std::unexpected(MediaInputError::malformed());
    const QString host = url.host();
    if (host.isEmpty())
        return std::unexpected(MediaInputError::malformed());

    if (const std::optional<QString> id = MediaInput::youTubeID(url)) {
        const QUrl thumbnail(QStringLiteral("https://") + videoSiteImageHost + QStringLiteral("/vi/")
                             + *id + QStringLiteral("/hqdefault.jpg"));
        return MediaSource(url, MediaKind::web, QStringLiteral("YouTube"), host, thumbnail);
    }
    const QString title = SiteCatalog::displayName(host).value_or(host);
    const bool media = MediaInput::isMediaFileExtension(
        pathExtension(url.path(QUrl::FullyDecoded)));
    return MediaSource(url, media ? MediaKind::mediaURL : MediaKind::web, title, host);
}

} // namespace

namespace MediaInput {

const QSet<QString> &mediaExtensions()
{
    static const QSet<QString> extensions = localMediaExtensions() + QSet<QString>{QStringLiteral("m3u8")};
    return extensions;
}

const QSet<QString> &localMediaExtensions()
{
    static const QSet<QString> extensions{
        QStringLiteral("mp4"), QStringLiteral("m4v"), QStringLiteral("mov"), QStringLiteral("webm"),
        QStringLiteral("mkv"), QStringLiteral("avi"), QStringLiteral("mp3"), QStringLiteral("m4a"),
        QStringLiteral("wav"), QStringLiteral("flac"), QStringLiteral("ogg"), QStringLiteral("aac"),
        QStringLiteral("aiff"),
    };
    return extensions;
}

QString normalize(const QString &text)
{
    const QString cleaned = strippingPairedQuotes(text.trimmed()).trimmed();
    if (cleaned.isEmpty())
        return {};
    if (isLocalPath(cleaned) || schemePrefix(cleaned))
        return cleaned;
    if (looksLikeBareHost(cleaned))
        return QStringLiteral("https://") + cleaned;
    return cleaned;
}

std::expected<MediaSource, MediaInputError> parse(const QString &text)
{
    // No real address is this long; a pasted document is not one.
    if (!TextBounds::fitsURL(text.trimmed()))
        return std::unexpected(MediaInputError::malformed());
    const QString normalized = normalize(text);
    if (normalized.isEmpty())
        return std::unexpected(MediaInputError::empty());
    if (isLocalPath(normalized))
        return localSource(normalized, true);
    const std::optional<QString> scheme = schemePrefix(normalized);
    if (!scheme)
        return std::unexpected(MediaInputError::malformed());
    if (*scheme == QLatin1String("file")) {
        const std::optional<QString> path = filePath(normalized);
        if (!path)
            return std::unexpected(MediaInputError::malformed());
        return localSource(*path, false);
    }
    if (*scheme == QLatin1String("http") || *scheme == QLatin1String("https"))
        return webSource(normalized);
    return std::unexpected(MediaInputError::unsupportedScheme(*scheme));
}

bool isMediaFileExtension(const QString &extension)
{
    const QString bare = extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension;
    return mediaExtensions().contains(bare.toLower());
}

std::optional<QString> youTubeID(const QUrl &url)
{
    const QString host = url.host().toLower();
    if (host.isEmpty())
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    const QStringList segments = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    std::optional<QString> candidate;
    if (isSiteHost(host, videoSiteShortHost)) {
        if (segments.isEmpty())
            return std::nullopt;
        candidate = segments.first();
    } else if (isSiteHost(host, videoSiteMainHost) || host.endsWith(videoSiteEmbedDomain)) {
        if (path == QLatin1String("/watch") || path.startsWith(QLatin1String("/watch/"))) {
            candidate = firstQueryValue(url, QStringLiteral("v"));
        } else {
            static const QStringList prefixes{QStringLiteral("shorts"), QStringLiteral("embed"),
                                              QStringLiteral("live"), QStringLiteral("v")};
            if (segments.size() >= 2 && prefixes.contains(segments.first()))
                candidate = segments.at(1);
        }
    } else {
        return std::nullopt;
    }
    if (candidate && isValidYouTubeID(*candidate))
        return candidate;
    return std::nullopt;
}

} // namespace MediaInput
