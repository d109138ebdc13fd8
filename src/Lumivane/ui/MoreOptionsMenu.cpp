#include "ui/MoreOptionsMenu.h"

#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutAction.h"
#include "KiteCore/SiteCapabilities.h"

#include <QDesktopServices>
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
