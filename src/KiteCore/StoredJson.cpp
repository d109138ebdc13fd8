#include "KiteCore/StoredJson.h"

#include "KiteCore/L10n.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QTimeZone>

#include <cmath>
#include <limits>

namespace {

QDateTime referenceDate()
{
    return QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
}

// Far beyond any real date, and small enough that milliseconds fit in 64 bits.
constexpr double maxReferenceSeconds = 1e12;

bool isCanonicalUuidShape(const QString &text)
{
    if (text.size() != 36)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const QChar c = text.at(i);
        const char16_t code = c.toLower().unicode();
        const bool hex = (code >= u'0' && code <= u'9') || (code >= u'a' && code <= u'f');
        if (dash ? c != u'-' : !hex)
            return false;
    }
    return true;
}

} // namespace

namespace StoredJson {

QString uuidText(const QUuid &uuid)
{
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> uuid(const QJsonValue &value)
{
    const QString text = value.toString();
    if (!value.isString() || !isCanonicalUuidShape(text))
        return std::nullopt;
    return QUuid::fromString(text);
}

double referenceSeconds(const QDateTime &date)
{
    return static_cast<double>(referenceDate().msecsTo(date)) / 1000.0;
}

std::optional<QDateTime> date(const QJsonValue &value)
{
    const double seconds = value.toDouble();
    if (!value.isDouble() || !std::isfinite(seconds) || std::abs(seconds) > maxReferenceSeconds)
        return std::nullopt;
    return referenceDate().addMSecs(std::llround(seconds * 1000.0));
}

std::optional<int> integer(const QJsonValue &value)
{
    const double number = value.toDouble();
    if (!value.isDouble() || std::trunc(number) != number
        || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

std::expected<QJsonArray, QString> parseArray(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return std::unexpected(QStringLiteral("%1 (at byte %2)").arg(error.errorString()).arg(error.offset));
    if (!document.isArray())
        return std::unexpected(QStringLiteral("the file does not hold a list"));
    return document.array();
}

QByteArray compact(const QJsonArray &array)
{
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QString keepDamaged(const QString &fileName, const QDateTime &at, const QString &reason)
{
    const auto copy = SafeFile::keepDamagedCopy(fileName, at, maxFileBytes);
    const QString kept = copy ? L("原文件已另存为：%1", "the damaged file was kept as %1",
                                  "el archivo dañado se guardó como %1").arg(*copy)
                              : L("原文件无法另存：%1", "the damaged file could not be kept: %1",
                                  "no se pudo guardar el archivo dañado: %1").arg(copy.error());
    return reason + QStringLiteral(" — ") + kept;
}

} // namespace StoredJson
