#include "KiteCore/GeoRect.h"

#include <QLocale>
#include <QRegularExpression>

#include <array>
#include <cmath>

namespace {

QString number(double value)
{
    // QString::number ignores the user's locale; shortest form that reads back exactly.
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

const QRegularExpression &framePattern()
{
    static const QString n = QStringLiteral(R"(([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?))");
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\{\{%1,%2\},\{%3,%4\}\}$)").arg(n, n, n, n));
    return pattern;
}

} // namespace

QString GeoRect::toText() const
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(number(x), number(y), number(width), number(height));
}

std::optional<GeoRect> GeoRect::fromText(const QString &text)
{
    // Compiled once: every window that opens reads a stored frame.
    static const QRegularExpression whitespace(QStringLiteral(R"(\s)"));
    QString compact = text;
    compact.remove(whitespace);
    const QRegularExpressionMatch match = framePattern().match(compact);
    if (!match.hasMatch())
        return std::nullopt;
    std::array<double, 4> values{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double value = match.captured(i + 1).toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        values[static_cast<std::size_t>(i)] = value;
    }
    if (values[2] < 0 || values[3] < 0)
        return std::nullopt;
    if (values[2] > largestExtent || values[3] > largestExtent
        || std::abs(values[0]) > farthestCoordinate || std::abs(values[1]) > farthestCoordinate)
        return std::nullopt;
    return GeoRect{values[0], values[1], values[2], values[3]};
}
