#include "ui/ListRowDelegate.h"

#include "ui/DesignSystem.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace {
constexpr int verticalMargin = 4;
constexpr int buttonSize = 32;
constexpr int buttonGap = 4;
constexpr int buttonIcon = 16;
constexpr int padding = 12;
constexpr qreal radius = 12;
} // namespace

ListRowDelegate::ListRowDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , m_palette(ShellLook::palette(true))
{
}

void ListRowDelegate::setLook(const ShellLook::Palette &palette)
{
    m_palette = palette;
    m_icons.clear();
}

QIcon ListRowDelegate::tinted(const QString &icon, const QColor &color) const
{
    const QString key = icon + color.name(QColor::HexArgb);
    auto found = m_icons.find(key);
    if (found == m_icons.end())
        found = m_icons.insert(key, ShellLook::tintedIcon(icon, color, buttonIcon));
    return *found;
}

QRect ListRowDelegate::cardRect(const QRect &row)
{
    return row.adjusted(0, verticalMargin, -2, -verticalMargin);
}

QRect ListRowDelegate::buttonRect(const QRect &row, const QModelIndex &index, int button) const
{
    return buttonRect(row, int(buttons(index).size()), button);
}

QRect ListRowDelegate::buttonRect(const QRect &row, int count, int button)
{
    const QRect card = cardRect(row);
    const int right = card.right() - padding - (count - 1 - button) * (buttonSize + buttonGap);
    return {right - buttonSize + 1, card.center().y() - buttonSize / 2, buttonSize, buttonSize};
}

QRect ListRowDelegate::contentRect(const QRect &row, const QModelIndex &index) const
{
    const QRect card = cardRect(row).adjusted(padding, 0, -padding, 0);
    const qsizetype count = buttons(index).size();
    if (count == 0)
        return card;
    return card.adjusted(0, 0, -int(count) * (buttonSize + buttonGap), 0);
}

int ListRowDelegate::buttonAt(const QRect &row, const QModelIndex &index, const QPoint &point) const
{
    const int count = int(buttons(index).size());
    for (int i = 0; i < count; ++i) {
        if (buttonRect(row, count, i).contains(point))
            return i;
    }
    return -1;
}

void ListRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool hovered = option.state.testFlag(QStyle::State_MouseOver);
    QPainterPath card;
    card.addRoundedRect(QRectF(cardRect(option.rect)).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter->fillPath(card, hovered ? m_palette.cardHover : m_palette.card);
    painter->setPen(QPen(m_palette.border, 1));
    painter->drawPath(card);

    paintContent(*painter, contentRect(option.rect, index), index);

    const QList<Button> list = buttons(index);
    const QPoint cursor = option.widget != nullptr
                              ? option.widget->mapFromGlobal(QCursor::pos())
                              : QPoint(-1, -1);
    for (int i = 0; i < list.size(); ++i) {
        const QRect rect = buttonRect(option.rect, int(list.size()), i);
        if (hovered && rect.contains(cursor)) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(m_palette.cardHover);
            painter->drawEllipse(rect);
        }
        const QColor color = list.at(i).highlighted ? DesignSystem::accent() : m_palette.text;
        const QRect iconRect(rect.center() - QPoint(buttonIcon / 2 - 1, buttonIcon / 2 - 1),
                             QSize(buttonIcon, buttonIcon));
        tinted(list.at(i).icon, color).paint(painter, iconRect);
    }
    painter->restore();
}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), rowHeight() + 2 * verticalMargin};
}

bool ListRowDelegate::editorEvent(QEvent *event, QAbstractItemModel *, const QStyleOptionViewItem &option,
                                  const QModelIndex &index)
{
    if (event->type() == QEvent::MouseMove) {
        // Redraws the hover circle under the cursor.
        if (auto *view = qobject_cast<QAbstractItemView *>(parent()))
            view->viewport()->update(option.rect);
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::MouseButtonDblClick)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const int button = buttonAt(option.rect, index, mouse->position().toPoint());
    if (button >= 0 && event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT buttonClicked(index, button);
        return true;
    }
    if (button < 0 && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT rowActivated(index);
        return true;
    }
    return button >= 0;
}

bool ListRowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const int button = buttonAt(option.rect, index, event->pos());
    if (button < 0)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), buttons(index).at(button).help, view);
    return true;
}
