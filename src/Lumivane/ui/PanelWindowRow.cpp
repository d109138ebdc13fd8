#include "ui/PanelWindowRow.h"

#include "ui/ElidedLabel.h"
#include "ui/PanelRules.h"
#include "playback/PlaybackSession.h"

#include "KiteCore/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int buttonSize = 28;
constexpr int iconSize = 15;
constexpr int markerWidth = 4;
} // namespace

PanelWindowRow::PanelWindowRow(PlaybackSession &session, const ShellLook::Palette &palette,
                               QWidget *parent)
    : QFrame(parent)
    , m_session(&session)
    , m_palette(palette)
    , m_title(new ElidedLabel(this))
    , m_subtitle(new QLabel(this))
    , m_play(button(QStringLiteral("rowPlay")))
    , m_visibility(button(QStringLiteral("rowVisibility")))
    , m_close(button(QStringLiteral("rowClose")))
{
    setProperty("shellRole", QStringLiteral("card"));
    setCursor(Qt::PointingHandCursor);
    setFixedHeight(54);
    m_subtitle->setProperty("shellRole", QStringLiteral("secondary"));

    auto *texts = new QVBoxLayout();
    texts->setSpacing(2);
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(markerWidth + 10, 6, 6, 6);
    layout->setSpacing(2);
    layout->addLayout(texts, 1);
    layout->addSpacing(4);
    for (QToolButton *control : {m_play, m_visibility, m_close})
        layout->addWidget(control);

    setSymbol(*m_close, QStringLiteral("close"), L("关闭窗口", "Close window", "Cerrar ventana"));
    connect(m_play, &QToolButton::clicked, this, &PanelWindowRow::togglePlayback);
    connect(m_visibility, &QToolButton::clicked, this, [this] {
        if (!m_session)
            return;
        if (m_session->isHidden())
            Q_EMIT showRequested(m_session);
        else
            Q_EMIT hideRequested(m_session);
    });
    connect(m_close, &QToolButton::clicked, this, [this] {
        if (m_session)
            Q_EMIT closeRequested(m_session);
    });
    refresh();
}

QToolButton *PanelWindowRow::button(const QString &objectName)
{
    auto *control = new QToolButton(this);
    control->setObjectName(objectName);
    control->setFixedSize(buttonSize, buttonSize);
    control->setIconSize(QSize(iconSize, iconSize));
    control->setFocusPolicy(Qt::NoFocus);
    control->setCursor(Qt::PointingHandCursor);
    return control;
}

void PanelWindowRow::setSymbol(QToolButton &control, const QString &icon, const QString &label)
{
    if (control.property("iconName").toString() != icon) {
        control.setIcon(ShellLook::tintedIcon(icon, m_palette.text, iconSize));
        control.setProperty("iconName", icon);
    }
    control.setToolTip(label);
    control.setAccessibleName(label);
}

PlaybackSession *PanelWindowRow::session() const
{
    return m_session;
}

void PanelWindowRow::refresh()
{
    if (!m_session)
        return;
    const PlaybackSession &session = *m_session;
    const QString &title = session.title();
    m_title->setText(title);
    m_subtitle->setText(PanelRules::rowSubtitle(session.statusText(), session.source().kind(),
                                                session.elapsed(), session.duration()));
    setToolTip(L("点击显示 ", "Click to show ", "Haz clic para mostrar ") + title);
    if (session.isPlaying())
        setSymbol(*m_play, QStringLiteral("pause"), L("暂停", "Pause", "Pausa"));
    else
        setSymbol(*m_play, QStringLiteral("play"), L("播放", "Play", "Reproducir"));
    if (session.isHidden())
        setSymbol(*m_visibility, QStringLiteral("show"), L("显示窗口", "Show window", "Mostrar ventana"));
    else
        setSymbol(*m_visibility, QStringLiteral("hide"), L("收起窗口", "Hide window", "Ocultar ventana"));
    m_tone = ShellLook::toneColor(PanelRules::rowTone({session.state().isLoading(),
                                                       session.state().isFailed(),
                                                       session.isHidden(), session.isPlaying()}));
    update();
}

void PanelWindowRow::togglePlayback()
{
    if (!m_session)
        return;
    if (m_session->source().kind() == MediaKind::web)
        m_session->webTogglePlay();
    else
        m_session->togglePlayback();
}

void PanelWindowRow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())
        && m_session)
        Q_EMIT showRequested(m_session);
    QFrame::mouseReleaseEvent(event);
}

void PanelWindowRow::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath marker;
    marker.addRoundedRect(QRectF(6, 10, markerWidth, height() - 20), 2, 2);
    painter.fillPath(marker, m_tone);
}
