#include "ui/MoreOptionsMenu.h"

#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutAction.h"
#include "KiteCore/SiteCapabilities.h"

#include <QActionGroup>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>

namespace {
struct SizePreset {
    ShortcutAction action;
    double width;
    double ratio;
};

constexpr std::array<SizePreset, 5> sizePresets{{
    {ShortcutAction::windowSmall, 480, 16.0 / 9.0},
    {ShortcutAction::windowStandard, 640, 16.0 / 9.0},
    {ShortcutAction::windowLarge, 960, 16.0 / 9.0},
    {ShortcutAction::windowPortrait, 420, 0.5625},
    {ShortcutAction::windowSquare, 560, 1.0},
}};

ShortcutAction moveAction(WindowPosition position)
{
    switch (position) {
    case WindowPosition::topLeft: return ShortcutAction::moveTopLeft;
    case WindowPosition::topRight: return ShortcutAction::moveTopRight;
    case WindowPosition::bottomLeft: return ShortcutAction::moveBottomLeft;
    case WindowPosition::bottomRight: return ShortcutAction::moveBottomRight;
    case WindowPosition::center: return ShortcutAction::moveCenter;
    }
    return ShortcutAction::moveCenter;
}
} // namespace

MoreOptionsMenu::MoreOptionsMenu(PlaybackSession &session, PlayerWindowController &controller,
                                 QWidget *parent)
    : QMenu(parent), m_session(session), m_controller(controller)
{
    setObjectName(QStringLiteral("moreOptionsMenu"));
    connect(this, &QMenu::aboutToShow, this, &MoreOptionsMenu::rebuild);
    rebuild();
}

void MoreOptionsMenu::rebuild()
{
    // clear() keeps the submenus made by addMenu(); they belong to this menu.
    qDeleteAll(findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
    clear();
    addSizeMenu();
    addPositionMenu();
    addSeparator();
    addToggles();
    addDanmakuToggle();
    addSeparator();
    addCaptureAndPresentation();
    addTrackMenus();
    if (m_session.source().kind() == MediaKind::web)
        addWebItems();
    addSiteSupport();
    if (m_session.source().kind() == MediaKind::localFile)
        addLocalFileItems();
}

void MoreOptionsMenu::addSizeMenu()
{
    QMenu *menu = addMenu(L("窗口尺寸", "Window size", "Tamaño de ventana"));
    for (const SizePreset &preset : sizePresets) {
        menu->addAction(ShortcutActions::title(preset.action), this,
                        [this, preset] { m_controller.resize(preset.width, preset.ratio); });
    }
    menu->addSeparator();
    menu->addAction(ShortcutActions::title(ShortcutAction::fitToVideo), this, [this] {
        m_controller.fitToContent(m_session.contentAspect().value_or(16.0 / 9.0));
    });
    menu->addAction(L("放大 10%", "Scale up 10%", "Ampliar 10 %"), this,
                    [this] { m_controller.scale(1.1); });
    menu->addAction(L("缩小 10%", "Scale down 10%", "Reducir 10 %"), this,
                    [this] { m_controller.scale(0.9); });
}

void MoreOptionsMenu::addPositionMenu()
{
    QMenu *menu = addMenu(L("窗口位置", "Window position", "Posición de ventana"));
    for (WindowPosition position : WindowPositions::allCases) {
        menu->addAction(ShortcutActions::title(moveAction(position)), this,
                        [this, position] { m_controller.move(position); });
    }
}

QAction *MoreOptionsMenu::addToggle(const QString &text, bool checked,
                                    void (PlaybackSession::*setter)(bool))
{
    QAction *action = addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    connect(action, &QAction::toggled, this, [this, setter](bool on) { (m_session.*setter)(on); });
    return action;
}

void MoreOptionsMenu::addToggles()
{
    addToggle(L("始终置顶", "Always on top", "Siempre encima"), m_session.isPinned(),
              &PlaybackSession::setPinned);
    addToggle(L("锁定宽高比", "Lock aspect ratio", "Bloquear proporción"), m_session.lockAspect(),
              &PlaybackSession::setLockAspect);
    addToggle(L("始终显示控件", "Always show controls", "Mostrar siempre los controles"),
              m_session.controlsPinned(), &PlaybackSession::setControlsPinned);
    addToggle(L("拖动模式（任意处拖动）", "Drag mode (drag anywhere)",
                "Modo arrastre (arrastra desde cualquier parte)"),
              m_session.grabMode(), &PlaybackSession::setGrabMode);
}

void MoreOptionsMenu::addDanmakuToggle()
{
    const MediaSource &source = m_session.source();
    if (source.kind() != MediaKind::web || !source.url().host().contains(u"bilibili"))
        return;
    QAction *action = addToggle(L("隐藏弹幕", "Hide danmaku", "Ocultar danmaku"),
                                m_session.bilibiliDanmakuHidden(),
                                &PlaybackSession::setBilibiliDanmakuHidden);
    // After the setter above: the page follows the new value.
    connect(action, &QAction::toggled, this, [this] { m_session.applyDanmakuPreference(); });
}

void MoreOptionsMenu::addCaptureAndPresentation()
{
    addAction(L("截取当前画面", "Capture frame", "Capturar fotograma"), this,
              [this] { m_session.captureScreenshot(); });
    addSeparator();
    const QString fullScreen = m_session.isCinema()
                                   ? L("退出全屏", "Exit fullscreen", "Salir de pantalla completa")
                                   : L("全屏", "Fullscreen", "Pantalla completa");
    addAction(fullScreen, this, [this] { m_controller.toggleCinema(); });
    addAction(L("开启点击穿透…", "Enable click-through…", "Activar clic a través…"), this,
              &MoreOptionsMenu::clickThroughRequested);
}

QString MoreOptionsMenu::trackLabel(const NativePlayer::Track &track)
{
    QStringList parts{QStringLiteral("%1:").arg(track.id)};
    if (!track.title.isEmpty())
        parts << track.title;
    if (!track.language.isEmpty())
        parts << u'[' + track.language + u']';
    if (track.title.isEmpty() && track.language.isEmpty())
        parts << L("未命名", "Untitled", "Sin nombre");
    QStringList details;
    if (!track.codec.isEmpty())
        details << track.codec;
    if (track.isDefault)
        details << L("默认", "default", "predeterminada");
    if (track.isExternal)
        details << L("外部文件", "external file", "archivo externo");
    return (QStringList{parts.join(u' ')} + details).join(QStringLiteral(" · "));
}

// Audio only with a choice to make; subtitles wherever there is a picture to put them on.
void MoreOptionsMenu::addTrackMenus()
{
    const QList<NativePlayer::Track> &tracks = m_session.tracks();
    const auto count = [&tracks](NativePlayer::TrackType type) {
        return std::ranges::count(tracks, type, &NativePlayer::Track::type);
    };
    const bool subtitles = count(NativePlayer::TrackType::subtitle) > 0 || m_session.contentAspect().has_value();
    const bool audio = count(NativePlayer::TrackType::audio) > 1;
    if (!m_session.player() || (!subtitles && !audio))
        return;
    addSeparator();
    if (subtitles) {
        QMenu *menu = addMenu(L("字幕", "Subtitles", "Subtítulos"));
        menu->setObjectName(QStringLiteral("subtitleMenu"));
        addTrackActions(menu, NativePlayer::TrackType::subtitle);
        menu->addSeparator();
        menu->addAction(L("添加字幕文件…", "Add subtitle file…", "Añadir archivo de subtítulos…"), this,
                        &MoreOptionsMenu::chooseSubtitleFile);
    }
    if (audio) {
        QMenu *menu = addMenu(L("音轨", "Audio track", "Pista de audio"));
        menu->setObjectName(QStringLiteral("audioMenu"));
        addTrackActions(menu, NativePlayer::TrackType::audio);
    }
}

void MoreOptionsMenu::addTrackActions(QMenu *menu, NativePlayer::TrackType type)
{
    auto *group = new QActionGroup(menu);
    const auto add = [this, menu, group, type](const QString &text, bool selected, std::optional<int> id) {
        QAction *action = menu->addAction(text, this, [this, type, id] { m_session.selectTrack(type, id); });
        action->setCheckable(true);
        action->setChecked(selected);
        group->addAction(action);
    };
    const QList<NativePlayer::Track> &tracks = m_session.tracks();
    if (type == NativePlayer::TrackType::subtitle) {
        const bool shown = std::ranges::any_of(tracks, [](const NativePlayer::Track &track) {
            return track.type == NativePlayer::TrackType::subtitle && track.isSelected;
        });
        add(L("关闭", "Off", "Desactivados"), !shown, std::nullopt);
    }
    for (const NativePlayer::Track &track : tracks) {
        if (track.type == type)
            add(trackLabel(track), track.isSelected, track.id);
    }
}

void MoreOptionsMenu::chooseSubtitleFile()
{
    const QString folder = QFileInfo(m_session.source().url().toLocalFile()).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        parentWidget(), L("添加字幕文件", "Add subtitle file", "Añadir archivo de subtítulos"),
        m_session.source().url().isLocalFile() ? folder : QString(),
        L("字幕", "Subtitles", "Subtítulos") + QStringLiteral(" (*.srt *.ass *.ssa *.vtt)"));
    if (!path.isEmpty())
        m_session.addSubtitleFile(path);
}

void MoreOptionsMenu::addWebItems()
{
    addSeparator();
    QAction *back = addAction(L("后退", "Back", "Atrás"), this, [this] {
        if (WebPage *page = m_session.webPage())
            page->goBack();
    });
    back->setEnabled(m_session.webCanGoBack());
    QAction *forward = addAction(L("前进", "Forward", "Adelante"), this, [this] {
        if (WebPage *page = m_session.webPage())
            page->goForward();
    });
    forward->setEnabled(m_session.webCanGoForward());
    addAction(L("重新加载", "Reload", "Recargar"), this, &MoreOptionsMenu::reload);
    addAction(L("在浏览器中打开", "Open in browser", "Abrir en navegador"), this,
              &MoreOptionsMenu::openInBrowserRequested);
}

void MoreOptionsMenu::reload()
{
    // Without a page (the session was stopped) only a fresh start brings one back.
    if (WebPage *page = m_session.webPage())
        page->reload();
    else
        m_session.retry();
}

void MoreOptionsMenu::addSiteSupport()
{
    const QString host = m_session.source().url().host();
    const std::optional<SiteStatus> status =
        host.isEmpty() ? std::nullopt : SiteCapabilities::status(host);
    if (!status)
        return;
    addSeparator();
    QAction *heading = addAction(L("站点支持", "Site support", "Compatibilidad del sitio"));
    heading->setEnabled(false);
    QAction *line = addAction(SiteCapabilities::menuTitle(*status));
    line->setEnabled(false);
    line->setObjectName(QStringLiteral("siteSupportLine"));
}

void MoreOptionsMenu::addLocalFileItems()
{
    addSeparator();
    addAction(L("在文件管理器中显示", "Reveal in file manager", "Mostrar en el gestor de archivos"),
              this, &MoreOptionsMenu::revealInFileManager);
    addAction(L("用外部播放器打开", "Open in external player", "Abrir en reproductor externo"), this,
              &MoreOptionsMenu::externalPlayerRequested);
}

void MoreOptionsMenu::revealInFileManager() const
{
    // File managers differ in how they select a file; opening its folder works everywhere.
    const QFileInfo file(m_session.source().url().toLocalFile());
    QDesktopServices::openUrl(QUrl::fromLocalFile(file.absolutePath()));
}
