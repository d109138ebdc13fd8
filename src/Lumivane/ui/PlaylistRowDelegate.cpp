#include "ui/PlaylistRowDelegate.h"

#include "ui/DesignSystem.h"
#include "ui/HomeLook.h"
#include "ui/PlaylistListModel.h"

#include "KiteCore/L10n.h"

#include <QPainter>

namespace {
constexpr int cardHeight = 58;
constexpr int numberWidth = 30;
constexpr int symbolSize = 18;
} // namespace

PlaylistRowDelegate::PlaylistRowDelegate(const PlaylistListModel &model, QObject *parent)
    : ListRowDelegate(parent)
    , m_model(model)
{
}

int PlaylistRowDelegate::rowHeight() const
{
    return cardHeight;
}

QList<ListRowDelegate::Button> PlaylistRowDelegate::buttons(const QModelIndex &index) const
{
    return {{QStringLiteral("play"), L("播放 ", "Play ", "Reproducir ") + m_model.item(index.row()).title},
            {QStringLiteral("close"), L("从播放列表移除", "Remove from playlist", "Quitar de la lista")}};
}

void PlaylistRowDelegate::paintContent(QPainter &painter, const QRect &rect, const QModelIndex &index) const
{
    const PlaylistItem &item = m_model.item(index.row());
    const bool current = m_model.isCurrent(index.row());
    QFont number = painter.font();
    number.setPixelSize(13);
    number.setWeight(QFont::DemiBold);
    painter.setFont(number);
    painter.setPen(current ? DesignSystem::accent() : look().secondary);
    painter.drawText(QRect(rect.left(), rect.top(), numberWidth, rect.height()), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::asprintf("%02d", index.row() + 1));

    const QString symbol = item.kind == u"web" ? QStringLiteral("kind-web") : QStringLiteral("film");
    const QRect symbolRect(rect.left() + numberWidth, rect.center().y() - symbolSize / 2 + 1, symbolSize, symbolSize);
    tinted(symbol, current ? DesignSystem::accent() : look().secondary).paint(&painter, symbolRect);

    QFont titleFont = painter.font();
    titleFont.setPixelSize(14);
    QFont small = painter.font();
    small.setPixelSize(12);
    small.setWeight(QFont::Normal);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics smallMetrics(small);

    int right = rect.right() - 8;
    if (current) {
        const QString playing = L("正在播放", "Playing", "Reproduciendo");
        const int width = smallMetrics.horizontalAdvance(playing) + 16;
        const QRect pill(right - width, rect.center().y() - smallMetrics.height() / 2 - 2, width,
                         smallMetrics.height() + 4);
        painter.setPen(Qt::NoPen);
        painter.setBrush(HomeLook::accentTint(look()));
        painter.drawRoundedRect(pill, pill.height() / 2.0, pill.height() / 2.0);
        painter.setFont(small);
        painter.setPen(DesignSystem::accent());
        painter.drawText(pill, Qt::AlignCenter, playing);
        right = pill.left() - 10;
    }
    const int left = symbolRect.right() + 14;
    const int width = right - left;
    const int top = rect.center().y() - (titleMetrics.height() + smallMetrics.height() + 2) / 2;
    painter.setFont(titleFont);
    painter.setPen(look().text);
    painter.drawText(QRect(left, top, width, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(item.title, Qt::ElideRight, width));
    painter.setFont(small);
    painter.setPen(look().secondary);
    painter.drawText(QRect(left, top + titleMetrics.height() + 2, width, smallMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     smallMetrics.elidedText(item.subtitle, Qt::ElideMiddle, width));
}
