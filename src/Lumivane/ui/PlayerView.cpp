#include "ui/PlayerView.h"

#include "ui/ControlBar.h"
#include "ui/DesignSystem.h"
#include "ui/ElidedLabel.h"
#include "ui/MoreOptionsMenu.h"
#include "ui/OpacityPopover.h"
#include "ui/OverlayAutoHide.h"
#include "ui/OverlayRules.h"
#include "ui/ScrubberBar.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"
#include "ui/WebViewInput.h"

#include "settings/Preferences.h"
#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutAction.h"

#include <QActionGroup>
#include <QClipboard>
#include <QDesktopServices>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int topBarHeight = 42;
constexpr int toastGap = 10;
// Below this height the status panel drops its icon to fit.
constexpr int compactHeight = 300;

// Fades a control bar in or out; hidden bars take no clicks. Starting a fade stops the older
// one on the same effect without finishing it, so a late fade-out never hides shown bars.
void fade(QWidget *widget, bool visible)
{
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(widget->graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsOpacityEffect(widget);
        effect->setOpacity(widget->isHidden() ? 0.0 : 1.0);
        widget->setGraphicsEffect(effect);
    }
    auto *animation = new QPropertyAnimation(effect, "opacity", effect);
    animation->setDuration(DesignSystem::fadeMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setEndValue(visible ? 1.0 : 0.0);
    if (visible)
        widget->setVisible(true);
    else
        QObject::connect(animation, &QPropertyAnimation::finished, widget, &QWidget::hide);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
} // namespace

PlayerView::PlayerView(PlaybackSession &session, PlayerWindowController &controller,
                       Preferences &preferences, QWidget *parent)
    : QWidget(parent),
      m_session(session),
      m_controller(controller),
      m_preferences(preferences),
      m_autoHide(new OverlayAutoHide(this)),
      m_webInput(new WebViewInput(this))
{
    setObjectName(QStringLiteral("playerView"));
    setStyleSheet(DesignSystem::styleSheet());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    buildTopBar();
    buildBottomBar();
    buildOverlays();
    replaceVideo(m_session.player());
    replaceWebView(m_session.webView());
    connect(m_webInput, &WebViewInput::pressed, this, &PlayerView::closePopovers);
    connect(m_webInput, &WebViewInput::escapePressed, this, &PlayerView::escapePressed);
    connectSession();
    connectStatusPanel();

    m_autoHide->setAutoHide(m_preferences.autoHideControls());
    m_autoHide->setControlsPinned(m_session.controlsPinned());
    connect(&m_preferences, &Preferences::autoHideControlsChanged, m_autoHide,
            &OverlayAutoHide::setAutoHide);
    connect(m_autoHide, &OverlayAutoHide::visibleChanged, this, &PlayerView::applyControlsVisibility);
    applyState(m_session.state());
    applyProgress();
    applyVolume(m_session.volume());
    applyToast();
    refreshButtons();
    applyTransportState();
}

// The page outlives this view when the window goes first; its view must not die with it.
PlayerView::~PlayerView()
{
    detachWebView();
}

void PlayerView::setTrayAvailable(bool available)
{
    m_trayAvailable = available;
    m_hideButton->setToolTip(OverlayRules::hideToolTip(available));
    m_hideButton->setAccessibleName(m_hideButton->toolTip());
}

void PlayerView::setAutoHideDelays(int leaveMs, int appearMs)
{
    m_autoHide->setDelays(leaveMs, appearMs);
}

bool PlayerView::controlsVisible() const
{
    return m_autoHide->visible();
}

// ---- building

void PlayerView::buildTopBar()
{
    m_topBar = new ControlBar(this);
    m_topBar->setObjectName(QStringLiteral("topBar"));
    auto *row = new QHBoxLayout(m_topBar);
    row->setContentsMargins(DesignSystem::barPadding, 0, DesignSystem::barPadding, 0);
    row->setSpacing(2);
    m_grabButton = DesignSystem::iconButton(QStringLiteral("hand"), QString(), m_topBar);
    m_pinButton = DesignSystem::iconButton(QStringLiteral("pin"), QString(), m_topBar);
    m_opacityButton = DesignSystem::iconButton(
        QStringLiteral("opacity"), L("窗口透明度", "Window opacity", "Opacidad de la ventana"), m_topBar);
    m_title = new ElidedLabel(m_topBar);
    m_title->setObjectName(QStringLiteral("overlayTitle"));
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_cinemaButton = DesignSystem::iconButton(QStringLiteral("fullscreen"), QString(), m_topBar);
    m_hideButton = DesignSystem::iconButton(QStringLiteral("hide"),
                                            OverlayRules::hideToolTip(m_trayAvailable), m_topBar);
    m_closeButton = DesignSystem::iconButton(QStringLiteral("close"),
                                             L("关闭窗口", "Close window", "Cerrar ventana"), m_topBar);
    m_moreButton = DesignSystem::iconButton(QStringLiteral("more"),
                                            L("更多选项", "More options", "Más opciones"), m_topBar);
    for (QWidget *widget : {static_cast<QWidget *>(m_grabButton), static_cast<QWidget *>(m_pinButton),
                            static_cast<QWidget *>(m_opacityButton)})
        row->addWidget(widget);
    row->addSpacing(DesignSystem::spacing);
    row->addWidget(m_title, 1);
    for (QWidget *widget : {m_cinemaButton, m_hideButton, m_closeButton, m_moreButton})
        row->addWidget(widget);

    m_moreMenu = new MoreOptionsMenu(m_session, m_controller, this);
    connect(m_moreButton, &QToolButton::clicked, this, [this] {
        closePopovers();
        m_moreMenu->popup(m_moreButton->mapToGlobal(QPoint(0, m_moreButton->height())));
    });
    connect(m_moreMenu, &MoreOptionsMenu::clickThroughRequested, this, &PlayerView::confirmClickThrough);
    connect(m_moreMenu, &MoreOptionsMenu::externalPlayerRequested, this,
            &PlayerView::externalPlayerRequested);
    connect(m_moreMenu, &MoreOptionsMenu::openInBrowserRequested, this,
            &PlayerView::openSourceInBrowser);

    connect(m_grabButton, &QToolButton::clicked, this, &PlayerView::toggleGrabMode);
    connect(m_pinButton, &QToolButton::clicked, this,
            [this] { m_session.setPinned(!m_session.isPinned()); });
    connect(m_opacityButton, &QToolButton::clicked, this, [this] { togglePopover(m_opacity); });
    connect(m_cinemaButton, &QToolButton::clicked, this, [this] { m_controller.toggleCinema(); });
    connect(m_hideButton, &QToolButton::clicked, this, &PlayerView::hideWindow);
    connect(m_closeButton, &QToolButton::clicked, this, [this] { m_controller.close(); });
    connect(m_topBar, &ControlBar::backgroundPressed, this, &PlayerView::startWindowDrag);
}

void PlayerView::buildBottomBar()
{
    m_bottomBar = new ControlBar(this);
    m_bottomBar->setObjectName(QStringLiteral("bottomBar"));
    auto *column = new QVBoxLayout(m_bottomBar);
    column->setContentsMargins(DesignSystem::barPadding + 4, 6, DesignSystem::barPadding, 4);
    column->setSpacing(0);

    auto *scrubRow = new QHBoxLayout;
    scrubRow->setSpacing(DesignSystem::spacing);
    m_elapsedLabel = new QLabel(QStringLiteral("0:00"), m_bottomBar);
    m_durationLabel = new QLabel(QStringLiteral("0:00"), m_bottomBar);
    for (QLabel *label : {m_elapsedLabel, m_durationLabel})
        label->setObjectName(QStringLiteral("overlayTime"));
    m_scrubber = new ScrubberBar(m_bottomBar);
    scrubRow->addWidget(m_elapsedLabel);
    scrubRow->addWidget(m_scrubber, 1);
    scrubRow->addWidget(m_durationLabel);
    column->addLayout(scrubRow);
    column->addWidget(buildTransportRow());

    connect(m_bottomBar, &ControlBar::backgroundPressed, this, &PlayerView::startWindowDrag);
    connect(m_scrubber, &ScrubberBar::valueChanged, this,
            [this](double seconds) { m_elapsedLabel->setText(OverlayRules::timeLabel(seconds)); });
    connect(m_scrubber, &ScrubberBar::scrubbingChanged, this, &PlayerView::scrubbingChanged);
    connect(m_scrubber, &ScrubberBar::seekRequested, this, &PlayerView::seekTo);
}

QWidget *PlayerView::buildTransportRow()
{
    auto *row = new QWidget(m_bottomBar);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_playButton = DesignSystem::iconButton(QStringLiteral("play"),
                                            L("播放 / 暂停", "Play / pause", "Reproducir / pausar"), row);
    m_backButton = DesignSystem::iconButton(QStringLiteral("back10"),
                                            L("后退 10 秒", "Back 10s", "Atrás 10 s"), row);
    m_forwardButton = DesignSystem::iconButton(QStringLiteral("forward10"),
                                               L("前进 10 秒", "Forward 10s", "Adelante 10 s"), row);
    m_volumeButton = DesignSystem::iconButton(QStringLiteral("volume"), L("音量", "Volume", "Volumen"),
                                              row);
    m_speedButton = DesignSystem::iconButton(
        QStringLiteral("speed"), L("播放速度", "Playback speed", "Velocidad de reproducción"), row);
    m_speedButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_speedButton->setFixedWidth(DesignSystem::buttonSize + 16);
    m_speedButton->setPopupMode(QToolButton::InstantPopup);
    m_loopButton = DesignSystem::iconButton(QStringLiteral("loop"), L("循环", "Loop", "Repetir"), row);
    m_loopButton->setCheckable(true);
    m_clickThroughButton = DesignSystem::iconButton(
        QStringLiteral("click-through"), L("点击穿透", "Click-through", "Clic a través"), row);
    for (QToolButton *button : {m_playButton, m_backButton, m_forwardButton, m_volumeButton})
        layout->addWidget(button);
    layout->addStretch();
    for (QToolButton *button : {m_speedButton, m_loopButton, m_clickThroughButton})
        layout->addWidget(button);
    buildSpeedMenu();

    connect(m_playButton, &QToolButton::clicked, this, &PlayerView::togglePlay);
    connect(m_backButton, &QToolButton::clicked, this, [this] { skip(-OverlayRules::skipSeconds); });
    connect(m_forwardButton, &QToolButton::clicked, this, [this] { skip(OverlayRules::skipSeconds); });
    connect(m_volumeButton, &QToolButton::clicked, this, [this] { togglePopover(m_volume); });
    connect(m_loopButton, &QToolButton::clicked, this,
            [this](bool checked) { m_session.setLoop(checked); });
    connect(m_clickThroughButton, &QToolButton::clicked, this, &PlayerView::confirmClickThrough);
    return row;
}

void PlayerView::buildSpeedMenu()
{
    m_speedMenu = new QMenu(this);
    m_speedMenu->setObjectName(QStringLiteral("speedMenu"));
    auto *group = new QActionGroup(m_speedMenu);
    for (double speed : OverlayRules::speeds) {
        QAction *action = m_speedMenu->addAction(OverlayRules::speedLabel(speed));
        action->setCheckable(true);
        action->setData(speed);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, speed] { m_session.setSpeed(speed); });
    }
    m_speedButton->setMenu(m_speedMenu);
    connect(m_speedMenu, &QMenu::aboutToShow, this, &PlayerView::refreshSpeedMenu);
}

void PlayerView::buildOverlays()
{
    m_status = new StatusPanel(this);
    m_toast = new QLabel(this);
    m_toast->setObjectName(QStringLiteral("overlayToast"));
    m_toast->setAlignment(Qt::AlignCenter);
    m_toast->setWordWrap(true);
    m_toast->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_toast->hide();
    m_volume = new VolumePopover(this);
    m_volume->hide();
    m_opacity = new OpacityPopover(this);
    m_opacity->hide();
    connect(m_volume, &VolumePopover::volumeChosen, this, &PlayerView::chooseVolume);
    connect(m_volume, &VolumePopover::muteRequested, this, [this] { chooseVolume(0); });
    connect(m_opacity, &OpacityPopover::opacityChosen, this,
            [this](double opacity) { m_session.setOpacity(opacity); });
}

void PlayerView::connectSession()
{
    connect(&m_session, &PlaybackSession::stateChanged, this, &PlayerView::applyState);
    connect(&m_session, &PlaybackSession::isBufferingChanged, this, [this] { applyState(m_session.state()); });
    connect(&m_session, &PlaybackSession::titleChanged, this, &PlayerView::refreshButtons);
    connect(&m_session, &PlaybackSession::elapsedChanged, this, &PlayerView::applyProgress);
    connect(&m_session, &PlaybackSession::durationChanged, this, &PlayerView::applyProgress);
    connect(&m_session, &PlaybackSession::volumeChanged, this, &PlayerView::applyVolume);
    connect(&m_session, &PlaybackSession::toastChanged, this, &PlayerView::applyToast);
    connect(&m_session, &PlaybackSession::playerChanged, this, &PlayerView::replaceVideo);
    connect(&m_session, &PlaybackSession::webViewChanged, this, &PlayerView::replaceWebView);
    for (auto signal :
         {&PlaybackSession::webVideoAvailableChanged, &PlaybackSession::webCanSeekChanged})
        connect(&m_session, signal, this, &PlayerView::applyTransportState);
    connect(&m_session, &PlaybackSession::controlsPinnedChanged, m_autoHide,
            &OverlayAutoHide::setControlsPinned);
    connect(&m_session, &PlaybackSession::opacityChanged, m_opacity, &OpacityPopover::setOpacity);
    for (auto signal : {&PlaybackSession::isPlayingChanged, &PlaybackSession::isPinnedChanged,
                        &PlaybackSession::grabModeChanged, &PlaybackSession::loopChanged,
                        &PlaybackSession::isCinemaChanged})
        connect(&m_session, signal, this, &PlayerView::refreshButtons);
    connect(&m_session, &PlaybackSession::speedChanged, this, &PlayerView::refreshSpeedMenu);
}

void PlayerView::connectStatusPanel()
{
    connect(m_status, &StatusPanel::retryRequested, this, [this] { m_session.retry(); });
    connect(m_status, &StatusPanel::externalPlayerRequested, this, [this] {
        if (m_session.state().isFailed()) {
            m_session.requestExternal();
        } else {
            Q_EMIT externalPlayerRequested();
        }
    });
    connect(m_status, &StatusPanel::openInBrowserRequested, this, &PlayerView::openSourceInBrowser);
    connect(m_status, &StatusPanel::copyLinkRequested, this, &PlayerView::copyLink);
}

// ---- session to view

void PlayerView::replaceVideo(NativePlayer *player)
{
    delete m_video;
    m_video = player != nullptr ? player->createVideoWidget(this) : nullptr;
    if (m_video) {
        m_video->setObjectName(QStringLiteral("videoSurface"));
        m_video->installEventFilter(this);
        m_video->setMouseTracking(true);
        m_video->show();
    }
    layoutOverlays();
    stackOverlays();
}

void PlayerView::replaceWebView(QWidget *view)
{
    if (view == m_webView)
        return;
    detachWebView();
    m_webView = view;
    if (m_webView) {
        m_webView->setParent(this);
        m_webView->show();
        setFocusProxy(m_webView);
        m_webInput->watch(m_webView);
    }
    // Nothing else in the window takes the keyboard: it goes to the page, or to this view
    // while there is none.
    setFocus();
    layoutOverlays();
    stackOverlays();
    applyTransportState();
}

void PlayerView::detachWebView()
{
    m_webInput->watch(nullptr);
    if (!m_webView)
        return;
    setFocusProxy(nullptr);
    // Taking it out of this view hides it; its page deletes it.
    if (m_webView->parentWidget() == this)
        m_webView->setParent(nullptr);
    m_webView = nullptr;
}

void PlayerView::applyState(const PlaybackState &state)
{
    m_autoHide->setReady(state.isReady());
    if (state.isFailed() && state.error())
        m_status->showFailure(*state.error());
    else if (state.isLoading())
        m_status->showLoading();
    else if (m_session.isBuffering())
        m_status->showBuffering();
    m_status->setVisible(!state.isReady() || m_session.isBuffering());
    layoutOverlays();
}

void PlayerView::applyProgress()
{
    m_scrubber->setProgress(m_session.elapsed(), m_session.duration());
    if (!m_scrubber->scrubbing())
        m_elapsedLabel->setText(OverlayRules::timeLabel(m_session.elapsed()));
    m_durationLabel->setText(OverlayRules::timeLabel(m_session.duration()));
}

void PlayerView::applyVolume(double volume)
{
    DesignSystem::setButtonIcon(*m_volumeButton, volume <= 0 ? QStringLiteral("volume-mute")
                                                             : QStringLiteral("volume"));
    m_volume->setVolume(volume);
}

void PlayerView::applyToast()
{
    const std::optional<QString> &toast = m_session.toast();
    m_toast->setText(toast.value_or(QString()));
    m_toast->setVisible(toast.has_value() && !toast->isEmpty());
    layoutOverlays();
}

void PlayerView::refreshButtons()
{
    m_title->setText(m_session.title());
    DesignSystem::setButtonIcon(*m_playButton, m_session.isPlaying() ? QStringLiteral("pause")
                                                                     : QStringLiteral("play"));
    const bool grab = m_session.grabMode();
    DesignSystem::setButtonIcon(*m_grabButton, grab ? QStringLiteral("hand-fill") : QStringLiteral("hand"));
    m_grabButton->setToolTip(grab ? L("回到鼠标模式（点击网页）", "Back to mouse mode (click the page)",
                                      "Volver al modo ratón (clic en la página)")
                                  : L("拖动模式（任意处拖动，点击留在窗口）",
                                      "Drag mode (drag anywhere, clicks stay on the window)",
                                      "Modo arrastre (arrastra desde cualquier parte; los clics se "
                                      "quedan en la ventana)"));
    const bool pinned = m_session.isPinned();
    DesignSystem::setButtonIcon(*m_pinButton, pinned ? QStringLiteral("pin-fill") : QStringLiteral("pin"));
    m_pinButton->setToolTip(pinned ? L("取消置顶", "Unpin", "Desfijar")
                                   : L("置顶", "Pin on top", "Fijar encima"));
    const bool cinema = m_session.isCinema();
    DesignSystem::setButtonIcon(*m_cinemaButton, cinema ? QStringLiteral("fullscreen-exit")
                                                        : QStringLiteral("fullscreen"));
    m_cinemaButton->setToolTip(cinema ? L("退出全屏", "Exit fullscreen", "Salir de pantalla completa")
                                      : L("全屏", "Fullscreen", "Pantalla completa"));
    m_loopButton->setChecked(m_session.loop());
    refreshSpeedMenu();
}

void PlayerView::refreshSpeedMenu()
{
    const double speed = m_session.speed();
    m_speedButton->setText(OverlayRules::speedLabel(speed));
    for (QAction *action : m_speedMenu->actions())
        action->setChecked(OverlayRules::isCurrentSpeed(speed, action->data().toDouble()));
}

void PlayerView::applyTransportState()
{
    const bool web = isWeb();
    const bool media = !web || m_session.webVideoAvailable();
    const bool seekable = media && (!web || m_session.webCanSeek());
    m_playButton->setEnabled(media);
    m_backButton->setEnabled(seekable);
    m_forwardButton->setEnabled(seekable);
    m_scrubber->setEnabled(seekable);
}

void PlayerView::applyControlsVisibility(bool visible)
{
    if (!visible)
        closePopovers();
    fade(m_topBar, visible);
    fade(m_bottomBar, visible);
    setCursor(visible ? Qt::ArrowCursor : Qt::BlankCursor);
}

// ---- layout

void PlayerView::layoutOverlays()
{
    const int margin = DesignSystem::barMargin;
    const int barWidth = width() - 2 * margin;
    if (m_video)
        m_video->setGeometry(rect());
    if (m_webView)
        m_webView->setGeometry(rect());
    m_topBar->setGeometry(margin, margin, barWidth, topBarHeight);
    const int bottomHeight = m_bottomBar->sizeHint().height();
    m_bottomBar->setGeometry(margin, height() - margin - bottomHeight, barWidth, bottomHeight);

    m_status->setCompact(height() < compactHeight);
    m_status->setFixedWidth(std::min(StatusPanel::preferredWidth, width() - 2 * margin));
    m_status->adjustSize();
    m_status->move((width() - m_status->width()) / 2, std::max(0, (height() - m_status->height()) / 2));

    m_toast->setMaximumWidth(width() - 4 * margin);
    m_toast->adjustSize();
    m_toast->move((width() - m_toast->width()) / 2, margin + topBarHeight + toastGap);

    m_volume->adjustSize();
    const QPoint volumeAnchor = m_volumeButton->mapTo(this, QPoint(0, 0));
    m_volume->move(qBound(margin, volumeAnchor.x() - 8, width() - m_volume->width() - margin),
                   m_bottomBar->y() - m_volume->height() - 6);
    m_opacity->adjustSize();
    const QPoint opacityAnchor = m_opacityButton->mapTo(this, QPoint(0, 0));
    // Under the top bar, or over it when the window is too low for that.
    const int belowBar = m_topBar->geometry().bottom() + 6;
    m_opacity->move(qBound(margin, opacityAnchor.x() - 8, width() - m_opacity->width() - margin),
                    std::max(margin, std::min(belowBar, height() - m_opacity->height() - margin)));
}

void PlayerView::stackOverlays()
{
    // The status panel covers the bars where a low window leaves no room between them.
    for (QWidget *widget : {static_cast<QWidget *>(m_topBar), static_cast<QWidget *>(m_bottomBar),
                            static_cast<QWidget *>(m_status), static_cast<QWidget *>(m_toast),
                            static_cast<QWidget *>(m_volume), static_cast<QWidget *>(m_opacity)})
        widget->raise();
}

// ---- actions

void PlayerView::toggleGrabMode()
{
    const bool on = !m_session.grabMode();
    m_session.setGrabMode(on);
    if (on) {
        m_session.showToast(L("拖动模式：按住任意处即可移动窗口。点手形按钮回到鼠标模式。",
                              "Drag mode: hold anywhere to move the window. Tap the hand button to "
                              "go back to mouse mode.",
                              "Modo arrastre: mantén pulsado en cualquier parte para mover la "
                              "ventana. Toca el botón de la mano para volver al modo ratón."));
    }
}

void PlayerView::togglePopover(QWidget *popover)
{
    const bool open = popover->isHidden();
    closePopovers();
    if (!open)
        return;
    if (popover == m_volume)
        m_volume->setVolume(m_session.volume());
    else
        m_opacity->setOpacity(m_session.opacity());
    layoutOverlays();
    popover->show();
    popover->raise();
}

void PlayerView::closePopovers()
{
    m_volume->hide();
    m_opacity->hide();
}

bool PlayerView::isWeb() const
{
    return m_session.source().kind() == MediaKind::web;
}

void PlayerView::togglePlay()
{
    if (isWeb())
        m_session.webTogglePlay();
    else
        m_session.togglePlayback();
}

void PlayerView::skip(double delta)
{
    seekTo(OverlayRules::skipTarget(m_session.elapsed(), delta, m_session.source().kind()));
}

void PlayerView::seekTo(double seconds)
{
    if (isWeb())
        m_session.webSeek(seconds);
    else
        m_session.seek(seconds);
    applyProgress();
}

void PlayerView::scrubbingChanged(bool scrubbing)
{
    // The page's progress must not pull the position back while the user drags it.
    if (isWeb())
        m_session.setScrubbingWeb(scrubbing);
}

void PlayerView::chooseVolume(double volume)
{
    m_session.setVolume(volume);
    if (isWeb())
        m_session.webSetVolume(volume);
}

void PlayerView::hideWindow()
{
    if (QWidget *panel = m_controller.window())
        panel->hide();
    m_session.setHidden(true);
}

void PlayerView::confirmClickThrough()
{
    closePopovers();
    if (m_confirmation)
        return;
    m_confirmation = new QMessageBox(QMessageBox::Question,
                                     L("开启点击穿透？", "Enable click-through?", "¿Activar clic a través?"),
                                     OverlayRules::clickThroughMessage(restoreShortcutDisplay(),
                                                                       m_trayAvailable),
                                     QMessageBox::NoButton, this);
    m_confirmation->setObjectName(QStringLiteral("clickThroughConfirmation"));
    m_confirmation->setAttribute(Qt::WA_DeleteOnClose);
    // The dialog keeps the platform's look, not the overlay's.
    m_confirmation->setStyleSheet(QStringLiteral("QLabel { color: palette(window-text); }"));
    QPushButton *enable = m_confirmation->addButton(L("开启", "Enable", "Activar"),
                                                    QMessageBox::AcceptRole);
    enable->setObjectName(QStringLiteral("enableButton"));
    m_confirmation->addButton(L("取消", "Cancel", "Cancelar"), QMessageBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(enable, &QPushButton::clicked, this, [this] { m_session.setClickThrough(true); });
    m_confirmation->open();
}

QString PlayerView::restoreShortcutDisplay() const
{
    const ShortcutBindingMap &bindings = m_preferences.shortcutBindings();
    const auto found = bindings.find(ShortcutAction::toggleAllWindows);
    return found != bindings.end() && found->second.isValid() ? found->second.displayString()
                                                              : QString();
}

void PlayerView::escapePressed()
{
    if (!m_volume->isHidden() || !m_opacity->isHidden())
        closePopovers();
    else
        handleEscape();
}

void PlayerView::handleEscape()
{
    switch (OverlayRules::escapeAction(m_session.isCinema(), m_session.clickThrough())) {
    case OverlayRules::EscapeAction::exitCinema: m_controller.exitCinema(); break;
    case OverlayRules::EscapeAction::endClickThrough: m_session.setClickThrough(false); break;
    case OverlayRules::EscapeAction::closeWindow: m_controller.close(); break;
    }
}

void PlayerView::startWindowDrag()
{
    closePopovers();
    m_controller.beginWindowDrag();
}

void PlayerView::openSourceInBrowser() const
{
    QDesktopServices::openUrl(m_session.source().url());
}

void PlayerView::copyLink() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_session.source().urlString());
}

// ---- events

void PlayerView::enterEvent(QEnterEvent *event)
{
    m_autoHide->pointerEntered();
    QWidget::enterEvent(event);
}

void PlayerView::leaveEvent(QEvent *event)
{
    m_autoHide->pointerLeft();
    QWidget::leaveEvent(event);
}

void PlayerView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    applyProgress();
    m_autoHide->appeared();
}

void PlayerView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutOverlays();
}

void PlayerView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        escapePressed();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Drag mode is the window's own: it takes presses before they get here.
void PlayerView::mousePressEvent(QMouseEvent *event)
{
    closePopovers();
    event->accept();
}

void PlayerView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

bool PlayerView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_video && event->type() == QEvent::MouseButtonPress) {
        mousePressEvent(static_cast<QMouseEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
