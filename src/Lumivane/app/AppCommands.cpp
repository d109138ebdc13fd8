#include "app/AppCommands.h"

#include "app/AppModel.h"

#include <QApplication>

AppCommands::AppCommands(AppModel &model, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
    connect(&m_model, &AppModel::showHomeRequested, this, &AppCommands::showHome);
}

void AppCommands::showHome()
{
    Q_EMIT homeRequested();
}

void AppCommands::showSettings()
{
    Q_EMIT settingsRequested();
}

void AppCommands::showAccounts()
{
    m_model.setSettingsTabRequest(QStringLiteral("account"));
    showSettings();
}

void AppCommands::showOnboarding()
{
    Q_EMIT onboardingRequested();
}

void AppCommands::showAbout()
{
    Q_EMIT aboutRequested();
}

void AppCommands::openFile()
{
    m_model.openFile();
}

void AppCommands::openClipboard()
{
    m_model.pasteAndOpen();
}

void AppCommands::captureFrame()
{
    PlaybackSession *target = activeSession();
    if (target == nullptr) {
        for (PlaybackSession *session : m_model.sessions()) {
            if (!session->isHidden()) {
                target = session;
                break;
            }
        }
    }
    if (target != nullptr)
        target->captureScreenshot();
}

void AppCommands::recoverAll()
{
    m_model.recoverAll();
}

void AppCommands::toggleAll()
{
    m_model.toggleAll();
}

void AppCommands::togglePlayback()
{
    m_model.togglePlaybackOfActive();
}

void AppCommands::openExternalForActiveWindow()
{
    if (PlaybackSession *session = activeSession())
        m_model.openExternal(session->source(), false, {});
}

void AppCommands::hideApplication()
{
    for (PlaybackSession *session : m_model.sessions()) {
        if (!session->isHidden())
            m_model.hide(*session);
    }
    Q_EMIT applicationHideRequested();
}

void AppCommands::quit()
{
    QCoreApplication::quit();
}

PlaybackSession *AppCommands::activeSession() const
{
    QWidget *active = QApplication::activeWindow();
    if (active == nullptr)
        return nullptr;
    for (PlaybackSession *session : m_model.sessions()) {
        const PlayerWindowController *controller = m_model.controller(*session);
        if (controller != nullptr && controller->window() == active)
            return session;
    }
    return nullptr;
}
