#include "ui/OnboardingWindow.h"

#include "settings/Preferences.h"

#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutAction.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr int heroSize = 56;

QLabel *label(const QString &text, const QString &role, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setProperty("shellRole", role);
    result->setWordWrap(true);
    return result;
}
} // namespace

OnboardingWindow::OnboardingWindow(Preferences &preferences, bool hasTray, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_preferences(preferences)
    , m_hasTray(hasTray)
    , m_pages(new QStackedWidget(this))
    , m_dots(new QLabel(this))
    , m_back(new QPushButton(this))
    , m_next(new QPushButton(this))
{
    setObjectName(QStringLiteral("onboarding"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(560, 620);
    m_back->setObjectName(QStringLiteral("onboardingBack"));
    m_next->setObjectName(QStringLiteral("onboardingNext"));
    m_next->setProperty("shellRole", QStringLiteral("primary"));
    m_next->setDefault(true);

    auto *buttons = new QHBoxLayout();
    buttons->addWidget(m_back);
    buttons->addStretch(1);
    buttons->addWidget(m_dots);
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 30, 36, 26);
    layout->setSpacing(18);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    connect(m_back, &QPushButton::clicked, this, [this] { showStep(m_step - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] {
        if (m_step + 1 < stepCount)
            showStep(m_step + 1);
        else
            Q_EMIT finished();
    });
    connect(&m_preferences, &Preferences::shortcutStatusChanged, this,
            &OnboardingWindow::showShortcutStatus);
    rebuild();
}

void OnboardingWindow::setHasTray(bool hasTray)
{
    if (m_hasTray == hasTray)
        return;
    m_hasTray = hasTray;
    rebuild();
}

void OnboardingWindow::rebuild()
{
    setWindowTitle(L("欢迎使用 Lumivane", "Welcome to Lumivane", "Bienvenido a Lumivane"));
    m_palette = ShellLook::palette(ShellLook::isDark(m_preferences.theme()));
    setStyleSheet(ShellLook::styleSheet(m_palette, objectName()));
    while (m_pages->count() > 0) {
        QWidget *old = m_pages->widget(0);
        m_pages->removeWidget(old);
        delete old;
    }
    m_pages->addWidget(welcomeStep());
    m_pages->addWidget(recoveryStep());
    m_pages->addWidget(shortcutStep());
    showStep(m_step);
}

void OnboardingWindow::showStep(int step)
{
    m_step = std::clamp(step, 0, stepCount - 1);
    m_pages->setCurrentIndex(m_step);
    m_back->setText(L("上一步", "Back", "Atrás"));
    m_back->setVisible(m_step > 0);
    m_next->setText(m_step + 1 < stepCount ? L("继续", "Continue", "Continuar")
                                           : L("完成", "Finish", "Terminar"));
    updateDots();
}

void OnboardingWindow::showShortcutStatus(const QString &status)
{
    if (m_shortcutStatus == nullptr)
        return;
    m_shortcutStatus->setText(status.isEmpty()
                                  ? L("全局快捷键注册后，结果会显示在这里。",
                                      "Once the global shortcuts are registered, the result shows "
                                      "here.",
                                      "Cuando se registren los atajos globales, el resultado "
                                      "aparecerá aquí.")
                                  : status);
}

void OnboardingWindow::updateDots()
{
    // Rich text takes no alpha: the secondary text colour mixed into the background.
    const QColor &back = m_palette.background;
    const QColor &fore = m_palette.text;
    const QColor inactive((back.red() * 3 + fore.red()) / 4, (back.green() * 3 + fore.green()) / 4,
                          (back.blue() * 3 + fore.blue()) / 4);
    QString dots;
    for (int i = 0; i < stepCount; ++i) {
        dots += QStringLiteral("<span style=\"color:%1; font-size:16px;\">●</span> ")
                    .arg(i == m_step ? DesignSystem::accent().name() : inactive.name());
    }
    m_dots->setText(dots.trimmed());
}

QWidget *OnboardingWindow::page(const QString &icon, const QString &heading, const QString &lead,
                                const QList<QWidget *> &cards)
{
    auto *result = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(result);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto *hero = new QLabel(result);
    const QIcon symbol = icon.isEmpty() ? ShellLook::appIcon()
                                        : ShellLook::tintedIcon(icon, DesignSystem::accent(), heroSize);
    hero->setPixmap(symbol.pixmap(QSize(heroSize, heroSize)));
    layout->addWidget(hero);
    layout->addWidget(label(heading, QStringLiteral("heading"), result));
    QLabel *leadLabel = label(lead, QString(), result);
    leadLabel->setProperty("shellRole", QStringLiteral("lead"));
    layout->addWidget(leadLabel);
    layout->addSpacing(6);
    for (QWidget *item : cards) {
        item->setParent(result);
        layout->addWidget(item);
    }
    layout->addStretch(1);
    return result;
}

QWidget *OnboardingWindow::card(const QString &icon, const QString &title, const QString &text)
{
    auto *frame = new QFrame();
    frame->setProperty("shellRole", QStringLiteral("card"));
    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(14, 12, 14, 12);
    row->setSpacing(14);
    auto *symbol = new QLabel(frame);
    symbol->setPixmap(ShellLook::tintedIcon(icon, DesignSystem::accent(), 22).pixmap(QSize(22, 22)));
    row->addWidget(symbol, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout();
    texts->setSpacing(3);
    texts->addWidget(label(title, QStringLiteral("title"), frame));
    texts->addWidget(label(text, QStringLiteral("secondary"), frame));
    row->addLayout(texts, 1);
    return frame;
}

QWidget *OnboardingWindow::shortcutCard(const QString &title, const QStringList &keys)
{
    auto *frame = new QFrame();
    frame->setProperty("shellRole", QStringLiteral("card"));
    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(14, 10, 14, 10);
    row->setSpacing(6);
    row->addWidget(label(title, QStringLiteral("title"), frame), 1);
    for (const QString &key : keys) {
        QLabel *cap = label(key, QStringLiteral("keycap"), frame);
        cap->setWordWrap(false);
        cap->setAlignment(Qt::AlignCenter);
        row->addWidget(cap);
    }
    return frame;
}

QWidget *OnboardingWindow::welcomeStep()
{
    return page(
        {}, L("欢迎使用 Lumivane", "Welcome to Lumivane", "Bienvenido a Lumivane"),
        L("视频、音乐和网页，放进置顶的小浮窗里，不挡你的工作。",
          "Video, music and web pages in small floating windows that stay above your work.",
          "Vídeo, música y páginas web en pequeñas ventanas flotantes sobre tu trabajo."),
        {card(QStringLiteral("floating"), L("浮窗", "Floating windows", "Ventanas flotantes"),
              L("粘贴链接，或打开、拖入文件和文件夹：每个都在自己的置顶窗口里播放，最多同时 8 个。",
                "Paste a link, or open or drop a file or folder: each plays in a window of its own, "
                "on top, up to 8 at once.",
                "Pega un enlace, o abre o arrastra un archivo o una carpeta: cada uno se reproduce "
                "en su propia ventana, siempre visible, hasta 8 a la vez.")),
         card(QStringLiteral("window"), L("本地与网页", "Local and web", "Local y web"),
              L("本地文件和媒体链接由 mpv 播放；其他网页在内置网页引擎中打开。",
                "Local files and media links play with mpv; other web pages open in the built-in "
                "web engine.",
                "Los archivos locales y los enlaces de medios se reproducen con mpv; las demás "
                "páginas se abren en el motor web integrado.")),
         card(QStringLiteral("lock"), L("只留在这台电脑上", "Stays on this computer",
                                        "Se queda en este ordenador"),
              L("历史、续播位置和播放列表都保存在本地。无需账号，没有遥测。",
                "History, resume positions and the playlist are kept locally. No account, no "
                "telemetry.",
                "El historial, las posiciones y la lista se guardan en local. Sin cuenta ni "
                "telemetría."))});
}

QString OnboardingWindow::restoreKeys() const
{
    const ShortcutBindingMap &bindings = m_preferences.shortcutBindings();
    const auto found = bindings.find(ShortcutAction::toggleAllWindows);
    return found != bindings.end() && found->second.isValid() ? found->second.displayString()
                                                              : QStringLiteral("Ctrl+Alt+F");
}

QWidget *OnboardingWindow::recoveryStep()
{
    QList<QWidget *> cards;
    if (m_hasTray) {
        cards << card(QStringLiteral("tray"), L("托盘图标", "The tray icon", "El icono de la bandeja"),
                      L("左键：列出所有窗口的面板。右键：「恢复全部窗口」。",
                        "Left click: a panel with every window. Right click: Restore All Windows.",
                        "Clic izquierdo: un panel con todas las ventanas. Clic derecho: Restaurar "
                        "todas las ventanas."));
    }
    cards << card(QStringLiteral("restore"), L("恢复全部窗口", "Restore All Windows",
                                               "Restaurar todas las ventanas"),
                  m_hasTray ? L("菜单「播放 → 恢复全部窗口」（Ctrl+Shift+R）找回所有窗口并关闭点击穿透。",
                                "Playback → Restore All Windows (Ctrl+Shift+R) brings every window "
                                "back and turns click-through off.",
                                "Reproducción → Restaurar todas las ventanas (Ctrl+Shift+R) las "
                                "recupera todas y desactiva el clic a través.")
                            : L("从应用程序菜单再次打开 Lumivane，开始窗口就会回来；「播放 → 恢复全部窗口」"
                                "（Ctrl+Shift+R）找回所有窗口。",
                                "Open Lumivane again from your applications and the start window "
                                "comes back; Playback → Restore All Windows (Ctrl+Shift+R) brings "
                                "every window back.",
                                "Abre Lumivane otra vez desde tus aplicaciones y vuelve la ventana "
                                "de inicio; Reproducción → Restaurar todas las ventanas "
                                "(Ctrl+Shift+R) las recupera todas."));
    cards << card(QStringLiteral("keyboard"), L("收起 / 恢复全部", "Hide / Restore All",
                                                "Ocultar / Restaurar todo"),
                  L("%1 收起所有窗口，再按一次全部回来。",
                    "%1 hides every window; press it again and they all come back.",
                    "%1 oculta todas las ventanas; púlsalo otra vez y vuelven todas.")
                      .arg(restoreKeys()));
    cards << card(QStringLiteral("info"), L("在 Wayland 上", "On Wayland", "En Wayland"),
                  m_hasTray ? L("Lumivane 通过 XWayland 运行：浮窗、置顶和点击穿透都可用。全局快捷键需要桌面的"
                                "快捷键门户；托盘、菜单和「全部恢复」始终可用。",
                                "Lumivane runs through XWayland: floating, on top and click-through "
                                "work. Global shortcuts need the desktop's shortcut portal; the "
                                "tray, the menu and Restore all always work.",
                                "Lumivane funciona a través de XWayland: flotar, siempre visible y "
                                "clic a través funcionan. Los atajos globales necesitan el portal "
                                "de atajos del escritorio; la bandeja, el menú y Restaurar todo "
                                "funcionan siempre.")
                            : L("Lumivane 通过 XWayland 运行：浮窗、置顶和点击穿透都可用。全局快捷键需要桌面的"
                                "快捷键门户；菜单和「全部恢复」始终可用。",
                                "Lumivane runs through XWayland: floating, on top and click-through "
                                "work. Global shortcuts need the desktop's shortcut portal; the "
                                "menu and Restore all always work.",
                                "Lumivane funciona a través de XWayland: flotar, siempre visible y "
                                "clic a través funcionan. Los atajos globales necesitan el portal "
                                "de atajos del escritorio; el menú y Restaurar todo funcionan "
                                "siempre."));
    return page(QStringLiteral("restore"),
                L("窗口不会丢", "Getting windows back", "Recuperar las ventanas"),
                L("收起或点击穿透的窗口随时都能找回来。",
                  "A hidden or click-through window is never lost.",
                  "Una ventana oculta o con clic a través nunca se pierde."),
                cards);
}

QWidget *OnboardingWindow::shortcutStep()
{
    QList<QWidget *> cards;
    const ShortcutBindingMap &bindings = m_preferences.shortcutBindings();
    for (const ShortcutAction action :
         {ShortcutAction::toggleAllWindows, ShortcutAction::playPause, ShortcutAction::pasteAndOpen}) {
        QStringList keys;
        const auto found = bindings.find(action);
        if (found != bindings.end() && found->second.isValid()) {
            for (const KeyCombo::Modifier modifier : found->second.modifiers())
                keys << KeyCombo::modifierName(modifier);
            keys << KeyCombo::keyName(found->second.keyCode());
        } else {
            keys << L("未设置", "Not set", "Sin asignar");
        }
        cards << shortcutCard(ShortcutActions::title(action), keys);
    }
    // The status of the global shortcuts: what registering them said.
    QWidget *status = card(QStringLiteral("info"), L("状态", "Status", "Estado"), QString());
    m_shortcutStatus = status->findChildren<QLabel *>().last();
    m_shortcutStatus->setObjectName(QStringLiteral("shortcutStatus"));
    showShortcutStatus(m_preferences.shortcutStatus());
    cards << status;
    cards << label(L("可以随时在设置中修改，共有 21 个动作可绑定。",
                     "Change them any time in Settings, where 21 actions can be bound.",
                     "Cámbialos cuando quieras en Ajustes, donde se pueden asignar 21 acciones."),
                   QStringLiteral("secondary"), nullptr);
    return page(QStringLiteral("keyboard"),
                L("全局快捷键", "Global shortcuts", "Atajos globales"),
                L("在任何应用里都能用。", "They work from any application.",
                  "Funcionan desde cualquier aplicación."),
                cards);
}
