#include "ui/Shell.h"

#include "ui/AboutDialog.h"
#include "ui/OnboardingWindow.h"
#include "ui/SettingsWindow.h"
#include "ui/ShellLook.h"
#include "app/AppCommands.h"
#include "app/AppModel.h"
#include "app/CommandLine.h"
#include "platform/StatusTray.h"
#include "settings/Preferences.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

Shell::Shell(AppModel &model, AppCommands &commands, Preferences &preferences, StatusTray &tray,
             ThumbnailLoader &thumbnails, WebDataStore *webData, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_commands(commands)
    , m_preferences(preferences)
    , m_tray(tray)
    , m_webData(webData)
    , m_home(model, preferences, thumbnails)
    , m_menu(commands)
    , m_menuBar(new QMenuBar(&m_home))
    , m_trayMenu(commands)
    , m_panel(model, commands, preferences)
{
    QApplication::setWindowIcon(ShellLook::appIcon());
    m_menu.populate(*m_menuBar);
    m_home.setMenuBar(m_menuBar);
    // A popup takes the keyboard: the shortcuts must be reachable from it too.
    m_panel.addActions(applicationActions());
    connectCommands();

    m_tray.install(ShellLook::appIcon(), QStringLiteral("澜萤 Lumivane"), &m_trayMenu);
    connect(&m_tray, &StatusTray::activated, this, &Shell::togglePanel);
    connect(&m_home, &HomeWindow::settingsRequested, &m_commands, &AppCommands::showSettings);
    connect(&m_tray, &StatusTray::availabilityDecided, this, [this](bool available) {
        m_home.setTrayAvailable(available);
        if (m_onboarding)
            m_onboarding->setHasTray(available);
        if (m_settings)
            m_settings->setHasTray(available);
        Q_EMIT trayAvailabilityChanged(available);
    });
    // After the preference has been stored and published, not in the middle of it.
    connect(&m_preferences, &Preferences::languageChanged, this,
            [this] { QTimer::singleShot(0, this, &Shell::retranslate); });
    connect(&m_preferences, &Preferences::themeChanged, this, [this] {
        if (m_onboarding)
            m_onboarding->rebuild();
    });
}

Shell::~Shell() = default;

void Shell::connectCommands()
{
    connect(&m_commands, &AppCommands::homeRequested, this, &Shell::showHome);
    connect(&m_commands, &AppCommands::settingsRequested, this, &Shell::showSettings);
    connect(&m_commands, &AppCommands::onboardingRequested, this, &Shell::showOnboarding);
    connect(&m_commands, &AppCommands::aboutRequested, this, &Shell::showAbout);
    connect(&m_commands, &AppCommands::applicationHideRequested, this, &Shell::hideWindows);
}

void Shell::start()
{
    showHome();
    if (!m_preferences.onboarded())
        showOnboarding();
}

void Shell::handle(const QStringList &arguments)
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
            Q_EMIT shortcutRequested(request.shortcut);
            break;
        }
    }
}

bool Shell::hasTray() const
{
    return m_tray.isAvailable();
}

void Shell::showHome()
{
    m_home.bringForward();
}

SettingsWindow &Shell::settingsWindow()
{
    if (!m_settings) {
        m_settings = std::make_unique<SettingsWindow>(SettingsContext{
            m_model, m_preferences, m_webData, hasTray(), applicationActions()});
        m_settings->addActions(applicationActions());
        connect(m_settings.get(), &SettingsWindow::recordingStarted, this,
                &Shell::shortcutRecordingStarted);
        connect(m_settings.get(), &SettingsWindow::recordingStopped, this,
                &Shell::shortcutRecordingStopped);
        connect(m_settings.get(), &SettingsWindow::webDataCleared, this, &Shell::webDataCleared);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_settings->move(screen.center() - m_settings->rect().center());
    }
    return *m_settings;
}

void Shell::showSettings()
{
    settingsWindow().bringForward();
}

void Shell::showOnboarding()
{
    if (!m_onboarding) {
        m_onboarding = std::make_unique<OnboardingWindow>(m_preferences, hasTray());
        m_onboarding->addActions(applicationActions());
        connect(m_onboarding.get(), &OnboardingWindow::finished, this, &Shell::finishOnboarding);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_onboarding->move(screen.center() - m_onboarding->rect().center());
    }
    m_onboarding->show();
    m_onboarding->raise();
    m_onboarding->activateWindow();
}

void Shell::finishOnboarding()
{
    m_preferences.setOnboarded(true);
    m_model.setShowingOnboarding(false);
    m_onboarding->close();
}

void Shell::showAbout()
{
    if (!m_about) {
        m_about = new AboutDialog();
        m_about->setAttribute(Qt::WA_DeleteOnClose);
        m_about->open();
    }
    m_about->raise();
    m_about->activateWindow();
}

void Shell::togglePanel()
{
    m_panel.toggle(QCursor::pos());
}

// "Hide Lumivane": the players are already hidden by the command; these are the rest.
void Shell::hideWindows()
{
    m_panel.close();
    m_home.hide();
    for (QWidget *window :
         {static_cast<QWidget *>(m_settings.get()), static_cast<QWidget *>(m_onboarding.get())}) {
        if (window != nullptr)
            window->hide();
    }
    if (m_about)
        m_about->close();
}

void Shell::retranslate()
{
    m_menu.populate(*m_menuBar);
    m_trayMenu.populate();
    m_home.retranslate();
    if (m_onboarding)
        m_onboarding->rebuild();
    m_panel.close();
}
