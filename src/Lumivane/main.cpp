// The composition root: builds the real services, the model and the windows, reads the
// command line and runs the event loop.
#include "app/AppModel.h"
#include "app/CommandLine.h"
#include "app/GlobalShortcuts.h"
#include "app/LaunchArguments.h"
#include "settings/Preferences.h"
#include "app/QuitGuard.h"
#include "app/ShortcutDispatcher.h"
#include "platform/AppPaths.h"
#include "platform/DesktopWorkspace.h"
#include "platform/MpvPlayer.h"
#include "platform/PortalHotKeys.h"
#include "platform/QtWebPage.h"
#include "platform/QuitOnSignal.h"
#include "platform/SingleInstance.h"
#include "platform/UserDefaults.h"
#include "platform/X11HotKeys.h"
#include "ui/ComingSoonWindow.h"
#include "ui/HomeWindow.h"
#include "ui/PlayerView.h"
#include "windows/LegacyMigration.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <clocale>
#include <memory>

namespace {
constexpr int windowRestoreDelayMs = 800;

// The windows around the model: home, and the stand-ins for settings and onboarding.
class Shell final
{
public:
    Shell(AppModel &model, ShortcutDispatcher &shortcuts)
        : m_model(model)
        , m_shortcuts(shortcuts)
        , m_home(model)
    {
        auto *quit = new QShortcut(QKeySequence::Quit, &m_home);
        QObject::connect(quit, &QShortcut::activated, qApp, &QCoreApplication::quit);
    }

    void showHome() { m_home.bringForward(); }

    void showSettings()
    {
        if (!m_settings) {
            m_settings = std::make_unique<ComingSoonWindow>(
                L("设置", "Settings", "Ajustes"),
                L("设置窗口会在后续版本中提供。", "The settings window comes in a later version.",
                  "La ventana de ajustes llegará en una versión posterior."));
        }
        m_settings->bringForward();
    }

    void showOnboarding()
    {
        if (!m_onboarding) {
            m_onboarding = std::make_unique<ComingSoonWindow>(
                L("欢迎使用 Lumivane", "Welcome to Lumivane", "Bienvenido a Lumivane"),
                L("新手引导会在后续版本中提供。", "The introduction comes in a later version.",
                  "La introducción llegará en una versión posterior."));
        }
        m_onboarding->bringForward();
    }

    // Requests of this launch or of a later one handed over by the single-instance socket.
    void handle(const QStringList &arguments)
    {
        const QList<CommandLine::Request> requests = CommandLine::parse(arguments);
        if (requests.isEmpty())
            showHome();
        for (const CommandLine::Request &request : requests) {
            switch (request.action) {
            case CommandLine::Request::Action::open: m_model.open(request.text); break;
            case CommandLine::Request::Action::showSettings: showSettings(); break;
            case CommandLine::Request::Action::showOnboarding: showOnboarding(); break;
            case CommandLine::Request::Action::performShortcut:
                m_shortcuts.perform(request.shortcut);
                break;
            }
        }
    }

private:
    AppModel &m_model;
    ShortcutDispatcher &m_shortcuts;
    HomeWindow m_home;
    std::unique_ptr<ComingSoonWindow> m_settings;
    std::unique_ptr<ComingSoonWindow> m_onboarding;
};

PlayerWindowController::ContentFactory playerContent(Preferences &preferences,
                                                     QPointer<AppModel> &model)
{
    return [&preferences, &model](PlayerWindowController &controller) {
        auto *view = new PlayerView(controller.session(), controller, preferences);
        QPointer<PlaybackSession> session(&controller.session());
        QObject::connect(view, &PlayerView::externalPlayerRequested, view, [&model, session] {
            if (model && session)
                model->openExternal(session->source(), false, {});
        });
        return view;
    };
}

void wire(AppModel &model, Shell &shell)
{
    model.showHome = [&shell] { shell.showHome(); };
    model.showSettings = [&shell] { shell.showSettings(); };
    model.updateMenu = [] {};
}

PlaybackSession::PlayerFactory nativePlayers()
{
    return [] { return std::make_unique<MpvPlayer>(); };
}

PlaybackSession::WebPageFactory webPages()
{
    return [] { return std::make_unique<QtWebPage>(); };
}

// Key grabs in an X11 session. Under Wayland the program runs on XWayland, where grabs see
// keys only while one of its own windows has focus: the desktop portal is asked instead.
std::unique_ptr<HotKeyService> hotKeyService()
{
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return std::make_unique<PortalHotKeys>(QDBusConnection::sessionBus());
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return std::make_unique<X11HotKeys>(x11->connection());
    return nullptr;
}
} // namespace

int main(int argc, char *argv[])
{
    LegacyMigration::run();
    QApplication app(argc, argv);
    // mpv refuses to start under a numeric locale with a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Lumivane"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QApplication::setDesktopFileName(QStringLiteral("lumivane"));
    // Player windows come and go; closing the last one never quits.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = LaunchArguments::absolutize(app.arguments(), QDir::current());
    SingleInstance instance;
    if (instance.forwardToRunning(arguments))
        return 0;
    if (!instance.listen() && instance.forwardToRunning(arguments))
        return 0;
    QuitOnSignal::install();

    Preferences &preferences = Preferences::shared();
    preferences.applyTheme();
    DesktopWorkspace workspace;
    QPointer<AppModel> modelRef;
    AppModel model({preferences, UserDefaults::standard(), workspace, AppPaths::historyFile(),
                    AppPaths::playlistFile(), nativePlayers(), webPages(),
                    playerContent(preferences, modelRef)});
    modelRef = &model;
    ShortcutDispatcher shortcutDispatcher(model);
    Shell shell(model, shortcutDispatcher);
    wire(model, shell);
    const std::unique_ptr<HotKeyService> hotKeys = hotKeyService();
    GlobalShortcuts shortcuts(hotKeys.get(), preferences);
    QObject::connect(&shortcuts.manager(), &ShortcutManager::actionTriggered, &shortcutDispatcher,
                     &ShortcutDispatcher::perform);

    QObject::connect(&instance, &SingleInstance::argumentsReceived, &model,
                     [&shell](const QStringList &forwarded) { shell.handle(forwarded); });
    QuitGuard quitGuard(model);
    app.installEventFilter(&quitGuard);
    // Quit paths that skip the quit request still save the list here, then playback stops.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &model, [&model, &shortcuts] {
        model.prepareToQuit();
        shortcuts.manager().unregisterAll();
        model.stopAll();
    });

    shell.showHome();
    shell.handle(arguments);
    QTimer::singleShot(windowRestoreDelayMs, &model, [&model] { model.restoreWindowsIfNeeded(); });

    const int status = QApplication::exec();
    UserDefaults::save(UserDefaults::standard());
    return status;
}
