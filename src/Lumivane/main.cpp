// The composition root: builds the real services, the model and the windows, reads the
// command line and runs the event loop.
#include "accounts/AccountService.h"
#include "app/AppCommands.h"
#include "app/AppModel.h"
#include "app/GlobalShortcuts.h"
#include "app/MediaKeys.h"
#include "app/ShortcutDispatcher.h"
#include "app/LaunchArguments.h"
#include "settings/Preferences.h"
#include "app/QuitGuard.h"
#include "app/ThumbnailLoader.h"
#include "platform/AppPaths.h"
#include "platform/DeferredSiteDataStore.h"
#include "platform/DeferredWebDataStore.h"
#include "platform/DesktopWorkspace.h"
#include "platform/MprisControls.h"
#include "platform/NetworkImageFetcher.h"
#include "platform/PortalHotKeys.h"
#include "platform/QtStatusTray.h"
#include "platform/QuitOnSignal.h"
#include "platform/RuntimeFolder.h"
#include "platform/SingleInstance.h"
#include "platform/UserDefaults.h"
#include "platform/PlayerEngineLoader.h"
#include "platform/WebEngineLoader.h"
#include "platform/X11HotKeys.h"
#include "ui/PlayerView.h"
#include "ui/AccountsPage.h"
#include "ui/SettingsWindow.h"
#include "ui/Shell.h"
#include "windows/LegacyMigration.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QPointer>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <chrono>
#include <clocale>
#include <malloc.h>
#include <cstdio>
#include <expected>
#include <memory>

namespace {
constexpr int windowRestoreDelayMs = 800;
// A panel that starts a little after Lumivane at login still gets its tray icon.
constexpr std::chrono::milliseconds trayWait{5000};

// Player windows are built after the shell: the factory reaches it through a pointer set later.
PlayerWindowController::ContentFactory playerContent(Preferences &preferences,
                                                     QPointer<AppModel> &model,
                                                     QPointer<Shell> &shell)
{
    return [&preferences, &model, &shell](PlayerWindowController &controller) {
        auto *view = new PlayerView(controller.session(), controller, preferences);
        QPointer<PlaybackSession> session(&controller.session());
        QObject::connect(view, &PlayerView::externalPlayerRequested, view, [&model, session] {
            if (model && session)
                model->openExternal(session->source(), false, {});
        });
        if (shell) {
            view->addActions(shell->applicationActions());
            view->setTrayAvailable(shell->hasTray());
            QObject::connect(shell, &Shell::trayAvailabilityChanged, view,
                             &PlayerView::setTrayAvailable);
        }
        return view;
    };
}

PlaybackSession::PlayerFactory nativePlayers(PlayerEngineLoader &playerEngine)
{
    return [&playerEngine] { return playerEngine.createPlayer(); };
}

PlaybackSession::WebPageFactory webPages(WebEngineLoader &webEngine)
{
    return [&webEngine] { return webEngine.createPage(); };
}

// The modules: beside the program in the build tree, in the library folder once installed.
QStringList moduleFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/" LUMIVANE_WEBENGINE_FROM_BIN))};
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
    // Each player's decoder threads would get a glibc arena of their own, kept after the
    // window closes: memory grew by ~90 MB over 300 open/close cycles, ~28 MB with two arenas.
    mallopt(M_ARENA_MAX, 2);
    LegacyMigration::run();
    // On-top, click-through, sticky and key grabs need X11: on a Wayland desktop that means
    // XWayland, unless the user chose a platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    // mpv refuses to start under a numeric locale with a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Lumivane"));
    QApplication::setApplicationVersion(QStringLiteral(LUMIVANE_VERSION));
    QApplication::setDesktopFileName(Workspace::appId());
    // Player windows come and go; closing the last one never quits.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = LaunchArguments::absolutize(app.arguments(), QDir::current());
    const std::expected<QString, QString> runtimeFolder = RuntimeFolder::first(RuntimeFolder::candidates());
    if (!runtimeFolder) {
        std::fprintf(stderr, "lumivane: no private folder for the single-instance lock:\n%s\n",
                     qPrintable(runtimeFolder.error()));
        return 1;
    }
    SingleInstance instance(*runtimeFolder);
    switch (instance.start(arguments)) {
    case SingleInstance::Outcome::forwarded:
        return 0;
    case SingleInstance::Outcome::unanswered:
        // Two full instances would both write the history and the settings.
        std::fprintf(stderr, "lumivane: Lumivane is already running but did not take this request (%s)\n",
                     qPrintable(instance.problem()));
        return 1;
    case SingleInstance::Outcome::primary:
        if (!instance.problem().isEmpty())
            std::fprintf(stderr, "lumivane: later launches cannot reach this one: %s\n",
                         qPrintable(instance.problem()));
        break;
    }
    QuitOnSignal::install();

    Preferences &preferences = Preferences::shared();
    preferences.applyTheme();
    DesktopWorkspace workspace;
    // Loaded by the first page, sign-in or sign-out; the signed-in state comes from disk.
    WebEngineLoader webEngine(moduleFolders());
    PlayerEngineLoader playerEngine(moduleFolders());
    DeferredSiteDataStore siteData(webEngine);
    AccountService accounts(siteData, workspace, webPages(webEngine));
    QPointer<AppModel> modelRef;
    QPointer<Shell> shellRef;
    AppModel model({preferences, UserDefaults::standard(), workspace, AppPaths::historyFile(),
                    AppPaths::playlistFile(), nativePlayers(playerEngine), webPages(webEngine),
                    playerContent(preferences, modelRef, shellRef)});
    modelRef = &model;
    AppCommands commands(model);
    QtStatusTray tray(trayWait);
    NetworkImageFetcher imageFetcher;
    ThumbnailLoader thumbnails(imageFetcher, AppPaths::thumbnailFolder());
    DeferredWebDataStore webData(webEngine);
    Shell shell(model, commands, preferences, tray, thumbnails, &webData);
    shellRef = &shell;
    shell.settingsWindow().setAccountsPage(new AccountsPage(accounts, preferences));
    QObject::connect(&shell, &Shell::webDataCleared, &accounts, &AccountService::webDataCleared);
    tray.start();
    ShortcutDispatcher shortcutDispatcher(model, commands);
    const std::unique_ptr<HotKeyService> hotKeys = hotKeyService();
    GlobalShortcuts shortcuts(hotKeys.get(), preferences);
    QObject::connect(&shortcuts.manager(), &ShortcutManager::actionTriggered, &shortcutDispatcher,
                     &ShortcutDispatcher::perform);
    QObject::connect(&shell, &Shell::shortcutRequested, &shortcutDispatcher,
                     &ShortcutDispatcher::perform);
    QObject::connect(&shell, &Shell::shortcutRecordingStarted, &shortcuts,
                     &GlobalShortcuts::recordingStarted);
    QObject::connect(&shell, &Shell::shortcutRecordingStopped, &shortcuts,
                     &GlobalShortcuts::recordingStopped);

    MediaKeys mediaKeys(model, []() -> std::unique_ptr<MediaControls> { return MprisControls::create(); });
    QObject::connect(&mediaKeys, &MediaKeys::quitRequested, &commands, &AppCommands::quit);

    QObject::connect(&instance, &SingleInstance::argumentsReceived, &shell, &Shell::handle);
    QuitGuard quitGuard(model);
    app.installEventFilter(&quitGuard);
    // Quit paths that skip the quit request still save the list here, then playback stops.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &model, [&model, &shortcuts] {
        model.prepareToQuit();
        shortcuts.manager().unregisterAll();
        model.stopAll();
    });

    shell.start();
    shell.handle(arguments);
    QTimer::singleShot(windowRestoreDelayMs, &model, [&model] { model.restoreWindowsIfNeeded(); });

    const int status = QApplication::exec();
    UserDefaults::save(UserDefaults::standard());
    return status;
}
