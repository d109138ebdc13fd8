#include "ui/HistoryRowDelegate.h"

#include "ui/DesignSystem.h"
#include "ui/HistoryListModel.h"
#include "ui/HomeLook.h"
#include "ui/HomeTexts.h"

#include "KiteCore/L10n.h"

#include <QPainter>
#include <QPainterPath>
#include <QUrl>

namespace {
constexpr int cardHeight = 78;
constexpr int thumbWidth = 108;
constexpr int thumbHeight = 61;
constexpr int progressHeight = 3;

// The first letter of the host ("www." aside); none for files.
std::optional<QChar> initial(const HistoryItem &item)
{
    QString host = QUrl(item.urlString).host();
    if (host.startsWith(QStringLiteral("www.")))
        host = host.mid(4);
    if (host.isEmpty())
        return std::nullopt;
    return host.at(0).toUpper();
}
} // namespace

HistoryRowDelegate::HistoryRowDelegate(const HistoryListModel &model, QObject *parent)
    : ListRowDelegate(parent)
    , m_model(model)
{
}

int HistoryRowDelegate::rowHeight() const
{
    return cardHeight;
}

QList<ListRowDelegate::Button> HistoryRowDelegate::buttons(const QModelIndex &index) const
{
    const bool favorite = m_model.item(index.row()).isFavorite;
    return {{QStringLiteral("play"), L("打开", "Open", "Abrir")},
            {favorite ? QStringLiteral("star-fill") : QStringLiteral("star"),
             favorite ? L("取消收藏", "Remove from favorites", "Quitar de favoritos")
                      : L("加入收藏", "Add to favorites", "Añadir a favoritos"),
             favorite},
            {QStringLiteral("trash"), L("从历史中移除", "Remove from history", "Quitar del historial")}};
}

void HistoryRowDelegate::paintContent(QPainter &painter, const QRect &rect, const QModelIndex &index) const
{
    const HistoryItem &item = m_model.item(index.row());
    const QRect thumb(rect.left(), rect.center().y() - thumbHeight / 2 + 1, thumbWidth, thumbHeight);
    paintThumbnail(painter, thumb, index.row());
    const std::optional<double> progress = item.progress();
    if (progress)
        paintProgress(painter, thumb, *progress);

    const QRect text = rect.adjusted(thumbWidth + 14, 12, -8, -12);
    QFont titleFont = painter.font();
    titleFont.setPixelSize(14);
    titleFont.setWeight(QFont::DemiBold);
    QFont small = painter.font();
    small.setPixelSize(12);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics smallMetrics(small);

    painter.setFont(titleFont);
    painter.setPen(look().text);
    painter.drawText(QRect(text.left(), text.top(), text.width(), titleMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(item.title, Qt::ElideRight, text.width()));
    painter.setFont(small);
    painter.setPen(look().secondary);
    const int subtitleTop = text.top() + titleMetrics.height() + 2;
    painter.drawText(QRect(text.left(), subtitleTop, text.width(), smallMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     smallMetrics.elidedText(item.subtitle, Qt::ElideMiddle, text.width()));

    // The meta line: kind pill, time, and how much was watched.
    const int metaTop = text.bottom() - smallMetrics.height() + 1;
    const QString kind = HomeTexts::kindLabel(item.kind);
    const QRect pill(text.left(), metaTop, smallMetrics.horizontalAdvance(kind) + 14, smallMetrics.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(HomeLook::accentTint(look()));
    painter.drawRoundedRect(pill, pill.height() / 2.0, pill.height() / 2.0);
    painter.setPen(look().text);
    painter.drawText(pill, Qt::AlignCenter, kind);
    QString meta = HomeTexts::relativeTime(item.lastOpened, QDateTime::currentDateTimeUtc());
    if (progress)
        meta += QStringLiteral("  ·  ") + HomeTexts::watched(*progress);
    painter.setPen(look().secondary);
    painter.drawText(QRect(pill.right() + 8, metaTop, text.right() - pill.right() - 8, smallMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, meta);
}

void HistoryRowDelegate::paintThumbnail(QPainter &painter, const QRect &rect, int row) const
{
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect), 8, 8);
    painter.save();
    painter.setClipPath(clip);
    const QImage image = m_model.thumbnail(row);
    if (!image.isNull()) {
        // Fills the frame, cropping the longer side.
        const QSize scaled = image.size().scaled(rect.size(), Qt::KeepAspectRatioByExpanding);
        const QRect target(rect.center() - QPoint(scaled.width() / 2, scaled.height() / 2), scaled);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image);
    } else {
        const HistoryItem &item = m_model.item(row);
        QLinearGradient fill(rect.topLeft(), rect.bottomRight());
        fill.setColorAt(0, HomeLook::accentTint(look()));
        fill.setColorAt(1, look().card);
        painter.fillRect(rect, look().card);
        painter.fillRect(rect, fill);
        const QString icon = item.kind == MediaKind::web ? QStringLiteral("kind-web")
                                                         : QStringLiteral("film");
        const std::optional<QChar> letter = initial(item);
        if (!letter) {
            // A file has no host: its symbol alone.
            const QRect centre(rect.center() - QPoint(11, 11), QSize(24, 24));
            tinted(icon, look().secondary).paint(&painter, centre);
        } else {
            tinted(icon, look().secondary).paint(&painter, QRect(rect.left() + 8, rect.top() + 8, 16, 16));
            QFont font = painter.font();
            font.setPixelSize(26);
            font.setWeight(QFont::Bold);
            painter.setFont(font);
            painter.setPen(look().text);
            painter.drawText(rect, Qt::AlignCenter, QString(*letter));
        }
    }
    painter.restore();
}

void HistoryRowDelegate::paintProgress(QPainter &painter, const QRect &thumbnail, double progress) const
{
    const QRect track(thumbnail.left() + 6, thumbnail.bottom() - progressHeight - 4,
                      thumbnail.width() - 12, progressHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawRoundedRect(track, 1.5, 1.5);
    painter.setBrush(DesignSystem::accent());
    painter.drawRoundedRect(QRect(track.topLeft(), QSize(int(track.width() * progress), track.height())),
                            1.5, 1.5);
}
