#include "ui/DropOverlay.h"

#include "ui/DesignSystem.h"

#include "KiteCore/L10n.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int inset = 18;
constexpr int symbolSize = 44;
} // namespace

DropOverlay::DropOverlay(QWidget *parent)
    : QWidget(parent)
    , m_palette(ShellLook::palette(true))
{
    setObjectName(QStringLiteral("dropOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    // Follows the window's size.
    parent->installEventFilter(this);
}

void DropOverlay::setLook(const ShellLook::Palette &palette)
{
    m_palette = palette;
    update();
}

bool DropOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return false;
}

void DropOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor veil = m_palette.background;
    veil.setAlpha(225);
    painter.fillRect(rect(), veil);

    const QRectF frame = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    QColor tint = DesignSystem::accent();
    tint.setAlpha(28);
    QPainterPath path;
    path.addRoundedRect(frame, 18, 18);
    painter.fillPath(path, tint);
    QPen dashes(DesignSystem::accent(), 2, Qt::DashLine);
    dashes.setDashPattern({6, 5});
    painter.setPen(dashes);
    painter.drawPath(path);

    const QPointF centre = frame.center();
    const QRect symbol(int(centre.x()) - symbolSize / 2, int(centre.y()) - symbolSize - 18, symbolSize, symbolSize);
    ShellLook::tintedIcon(QStringLiteral("drop"), DesignSystem::accent(), symbolSize).paint(&painter, symbol);

    QFont title = font();
    title.setPixelSize(22);
    title.setWeight(QFont::Bold);
    painter.setFont(title);
    painter.setPen(m_palette.text);
    painter.drawText(QRectF(frame.left(), centre.y() - 8, frame.width(), 32), Qt::AlignCenter,
                     L("松手即可打开", "Drop to open", "Suelta para abrir"));
    QFont line = font();
    line.setPixelSize(13);
    painter.setFont(line);
    painter.setPen(m_palette.secondary);
    painter.drawText(QRectF(frame.left(), centre.y() + 28, frame.width(), 22), Qt::AlignCenter,
                     L("视频、音频和网页链接都可以", "Video, audio and web links all work",
                       "Vídeo, audio y enlaces web: todo funciona"));
}
