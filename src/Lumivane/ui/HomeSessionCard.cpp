#include "ui/HomeSessionCard.h"

#include "ui/ElidedLabel.h"
#include "ui/HomeTexts.h"
#include "ui/PanelRules.h"
#include "playback/PlaybackSession.h"

#include "KiteCore/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int dotSize = 10;
constexpr int iconSize = 15;
} // namespace

HomeSessionCard::HomeSessionCard(PlaybackSession &session, const ShellLook::Palette &palette,
                                 bool hasTray, QWidget *parent)
    : QFrame(parent)
    , m_session(&session)
    , m_palette(palette)
    , m_hasTray(hasTray)
    , m_title(new ElidedLabel(this))
    , m_status(new QLabel(this))
    , m_play(button(QStringLiteral("cardPlay")))
    , m_visibility(button(QStringLiteral("cardVisibility")))
    , m_close(button(QStringLiteral("cardClose")))
{
    setProperty("shellRole", QStringLiteral("card"));
    setMinimumHeight(68);
    m_status->setProperty("shellRole", QStringLiteral("secondary"));
    auto *texts = new QVBoxLayout();
    texts->setSpacing(3);
    texts->addWidget(m_title);
    texts->addWidget(m_status);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16 + dotSize + 12, 10, 12, 10);
    layout->setSpacing(8);
    layout->addLayout(texts, 1);
    for (QPushButton *control : {m_play, m_visibility, m_close})
        layout->addWidget(control);

    m_close->setText(L("关闭窗口", "Close window", "Cerrar ventana"));
    m_close->setIcon(ShellLook::tintedIcon(QStringLiteral("close"), m_palette.text, iconSize));
    connect(m_play, &QPushButton::clicked, this, &HomeSessionCard::togglePlayback);
    connect(m_visibility, &QPushButton::clicked, this, [this] {
        if (!m_session)
            return;
        if (m_session->isHidden())
            Q_EMIT showRequested(m_session);
        else
            Q_EMIT hideRequested(m_session);
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (m_session)
            Q_EMIT closeRequested(m_session);
    });
    refresh();
}

QPushButton *HomeSessionCard::button(const QString &objectName)
{
    auto *control = new QPushButton(this);
    control->setObjectName(objectName);
    control->setIconSize(QSize(iconSize, iconSize));
    control->setCursor(Qt::PointingHandCursor);
    return control;
}

void HomeSessionCard::refresh()
{
    if (!m_session)
        return;
    const PlaybackSession &session = *m_session;
    m_title->setText(session.title());
    m_status->setText(PanelRules::rowSubtitle(session.statusText(), session.source().kind(),
                                              session.elapsed(), session.duration()));
    const bool playing = session.isPlaying();
    m_play->setText(playing ? L("暂停", "Pause", "Pausa") : L("播放", "Play", "Reproducir"));
    m_play->setIcon(ShellLook::tintedIcon(playing ? QStringLiteral("pause") : QStringLiteral("play"),
                                          m_palette.text, iconSize));
    const bool hidden = session.isHidden();
    m_visibility->setText(hidden ? L("显示", "Show", "Mostrar") : L("隐藏", "Hide", "Ocultar"));
    m_visibility->setToolTip(hidden ? L("把窗口带回来", "Bring the window back", "Traer la ventana de vuelta")
                                    : HomeTexts::hideHelp(m_hasTray));
    m_visibility->setIcon(ShellLook::tintedIcon(hidden ? QStringLiteral("show") : QStringLiteral("hide"),
                                                m_palette.text, iconSize));
    m_tone = ShellLook::toneColor(PanelRules::rowTone(
        {session.state().isLoading(), session.state().isFailed(), hidden, playing}));
    update();
}

void HomeSessionCard::togglePlayback()
{
    if (!m_session)
        return;
    if (m_session->source().kind() == MediaKind::web)
        m_session->webTogglePlay();
    else
        m_session->togglePlayback();
}

void HomeSessionCard::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor halo = m_tone;
    halo.setAlpha(60);
    const QPointF centre(16 + dotSize / 2.0, height() / 2.0);
    painter.setBrush(halo);
    painter.drawEllipse(centre, dotSize, dotSize);
    painter.setBrush(m_tone);
    painter.drawEllipse(centre, dotSize / 2.0, dotSize / 2.0);
}
