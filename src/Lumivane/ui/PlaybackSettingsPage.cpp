#include "ui/PlaybackSettingsPage.h"

#include "ui/SettingsCard.h"
#include "ui/SettingsRow.h"
#include "ui/SettingsTexts.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"
#include "KiteCore/SiteCapabilities.h"

#include <QComboBox>

PlaybackSettingsPage::PlaybackSettingsPage(const SettingsContext &context, QWidget *parent)
    : SettingsPage(context, parent)
{
    addRoute();
    addHidingAndWeb();
    addSiteSupport();
    finish();
}

void PlaybackSettingsPage::addRoute()
{
    SettingsCard *card = addCard(L("谁来播放", "What plays it", "Quién lo reproduce"),
                                 L("点「打开」之后，由谁来播放。",
                                   "Who plays the thing after you hit Open.",
                                   "Quién reproduce lo que abres."));
    SegmentedControl *route =
        segmented(QStringLiteral("playbackRoute"),
                  {{L("内置", "Inline", "Integrado"), QStringLiteral("inline")},
                   {L("外部", "External", "Externo"), QStringLiteral("external")}},
                  preferences().playbackRoute());
    connect(route, &SegmentedControl::chosen, &preferences(),
            [this](const QVariant &value) { preferences().setPlaybackRoute(value.toString()); });
    card->addRow(new SettingsRow(
        L("默认方式", "Default route", "Ruta por defecto"),
        L("「内置」在 Lumivane 窗口里播放；「外部」交给系统里的播放器。",
          "Inline plays in a Lumivane window; External hands it to a system player.",
          "Integrado reproduce en una ventana de Lumivane; Externo lo pasa a un reproductor del "
          "sistema."),
        route, this));
    card->addRow(new SettingsRow(L("外部播放器", "External player", "Reproductor externo"),
                                 L("仅在「外部」模式下使用。VLC / mpv 需要已安装。",
                                   "Only used in External mode. VLC / mpv must be installed.",
                                   "Solo en modo Externo. VLC / mpv deben estar instalados."),
                                 externalPlayerPicker(), this));
    card->addRow(new SettingsRow({},
                                 L("mpv 能解码的视频和音频都在这里播放，其他格式可以交给外部播放器。",
                                   "Video and audio that mpv can decode play here. Other formats "
                                   "can go to an external player.",
                                   "El vídeo y el audio que mpv decodifica se reproducen aquí. "
                                   "Otros formatos pueden ir a un reproductor externo."),
                                 nullptr, this));
}

QComboBox *PlaybackSettingsPage::externalPlayerPicker()
{
    auto *picker = new QComboBox(this);
    picker->setObjectName(QStringLiteral("externalPlayer"));
    picker->addItem(L("系统默认", "System default", "Predeterminado del sistema"),
                    QStringLiteral("system"));
    picker->addItem(QStringLiteral("VLC"), QStringLiteral("vlc"));
    picker->addItem(QStringLiteral("mpv"), QStringLiteral("mpv"));
    // A choice carried over from elsewhere stays readable, for what it is here.
    if (preferences().externalPlayer() == u"iina") {
        picker->addItem(L("IINA（未安装）", "IINA (not installed)", "IINA (no instalado)"),
                        QStringLiteral("iina"));
    }
    picker->setCurrentIndex(std::max(0, picker->findData(preferences().externalPlayer())));
    connect(picker, &QComboBox::activated, &preferences(), [this, picker](int index) {
        preferences().setExternalPlayer(picker->itemData(index).toString());
    });
    return picker;
}

void PlaybackSettingsPage::addHidingAndWeb()
{
    SettingsCard *card = addCard(L("隐藏与网页", "Hiding & web pages", "Ocultar y páginas web"),
                                 L("隐藏不是关闭：窗口收起来，内容还在。",
                                   "Hiding isn't closing: the window goes away, the content stays.",
                                   "Ocultar no es cerrar: la ventana se va, el contenido se queda."));
    addToggle(*card, QStringLiteral("pauseWhenHidden"),
              L("隐藏时暂停", "Pause when hidden", "Pausar al ocultar"),
              L("隐藏时停止声音，显示时从原处继续。",
                "Audio stops while hidden and resumes where it was.",
                "El audio se detiene mientras está oculta y sigue donde estaba."),
              &Preferences::pauseWhenHidden, &Preferences::setPauseWhenHidden,
              &Preferences::pauseWhenHiddenChanged);
    addToggle(*card, QStringLiteral("resumePlayback"),
              L("继续播放", "Resume playback", "Reanudar reproducción"),
              L("记住每个条目的位置，下次接着播。",
                "Remember the position of each item and pick up next time.",
                "Recuerda la posición de cada elemento y sigue la próxima vez."),
              &Preferences::resumePlayback, &Preferences::setResumePlayback,
              &Preferences::resumePlaybackChanged);
    addToggle(*card, QStringLiteral("webCleanup"), L("网页清理", "Web cleanup", "Limpieza web"),
              L("隐藏 YouTube / Twitch / Bilibili 的侧栏和评论，并点击 YouTube 自己的跳过广告按钮"
                "（从不强行快进广告）。站点改版可能让它失效——随时可以关闭。",
                "Hides sidebars and comments on YouTube / Twitch / Bilibili, and clicks YouTube's "
                "own skip-ad button (it never forces ad progress). Site redesigns can break it — "
                "turn it off anytime.",
                "Oculta barras laterales y comentarios en YouTube / Twitch / Bilibili y pulsa el "
                "botón de saltar anuncio de YouTube (nunca fuerza el anuncio). Un rediseño del "
                "sitio puede romperlo: desactívalo cuando quieras."),
              &Preferences::webCleanup, &Preferences::setWebCleanup,
              &Preferences::webCleanupChanged);
    addToggle(*card, QStringLiteral("webControlTakeover"),
              L("接管网页音视频控制", "Take over web video & audio controls",
                "Controlar vídeo y audio web"),
              L("网页音视频使用 Lumivane 的进度条、播放、音量和倍速。关闭后使用网站自己的控制。",
                "Use Lumivane's progress bar, play, volume and speed for web video and audio. "
                "Turn off to use the site's own controls.",
                "Usa la barra de progreso, reproducción, volumen y velocidad de Lumivane para el "
                "vídeo y audio web. Desactívalo para usar los controles del sitio."),
              &Preferences::webControlTakeover, &Preferences::setWebControlTakeover,
              &Preferences::webControlTakeoverChanged);
    addToggle(*card, QStringLiteral("webCompatibilityMode"),
              L("站点兼容", "Site compatibility", "Compatibilidad de sitios"),
              L("以桌面版 Chrome 的身份访问，让 Bilibili 等站点提供常规播放器。站点异常时可关闭。",
                "Poses as desktop Chrome so sites like Bilibili serve their normal player. Turn "
                "off if a site misbehaves.",
                "Se presenta como Chrome de escritorio para que sitios como Bilibili sirvan su "
                "reproductor normal. Desactívalo si un sitio falla."),
              &Preferences::webCompatibilityMode, &Preferences::setWebCompatibilityMode,
              &Preferences::webCompatibilityModeChanged);
    addToggle(*card, QStringLiteral("bilibiliHideDanmaku"),
              L("隐藏 Bilibili 弹幕", "Hide Bilibili danmaku", "Ocultar danmaku de Bilibili"),
              L("隐藏滚动、顶部和底部弹幕。也可以在每个窗口的「更多 → 隐藏弹幕」里切换。",
                "Hides scrolling/top/bottom danmaku. You can also toggle it per window in More → "
                "Hide danmaku.",
                "Oculta el danmaku deslizante, superior e inferior. También puedes cambiarlo por "
                "ventana en Más → Ocultar danmaku."),
              &Preferences::bilibiliHideDanmaku, &Preferences::setBilibiliHideDanmaku,
              &Preferences::bilibiliHideDanmakuChanged);
    addToggle(*card, QStringLiteral("bilibiliClean"),
              L("Bilibili 简洁模式", "Bilibili clean mode", "Modo limpio de Bilibili"),
              L("隐藏登录/试看提示和悬浮侧边按钮。需要登录时可临时关闭。",
                "Hides the login/preview toast and floating side buttons. Turn it off temporarily "
                "when you need to sign in.",
                "Oculta el aviso de inicio de sesión/vista previa y los botones laterales "
                "flotantes. Desactívalo un momento cuando necesites iniciar sesión."),
              &Preferences::bilibiliClean, &Preferences::setBilibiliClean,
              &Preferences::bilibiliCleanChanged);
}

void PlaybackSettingsPage::addSiteSupport()
{
    SettingsCard *card = addCard(
        L("站点支持", "Site support", "Compatibilidad de sitios"),
        L("能打开不等于已适配。按验证程度分三档；任何网页都仍然可以打开。",
          "Openable isn't the same as adapted. Three tiers by verification; any page still opens.",
          "Abrible no es lo mismo que adaptado. Tres niveles según verificación; cualquier página "
          "se abre igual."));
    for (SiteCapability capability : {SiteCapability::adapted, SiteCapability::experimental,
                                      SiteCapability::unsupported}) {
        SettingsRow *row = card->addRow(
            new SettingsRow(SiteCapabilities::label(capability),
                            SettingsTexts::siteTierLine(capability), nullptr, this));
        row->setNote(SiteCapabilities::explanation(capability));
    }
}
