#include "platform/WebProfile.h"

#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {

struct State {
    std::shared_ptr<QWebEngineProfile> profile;
    QString engineUserAgent;
    bool compatibilityMode = false;
};

State &state()
{
    static State instance;
    return instance;
}

void applyUserAgent(QWebEngineProfile &profile)
{
    const State &s = state();
    profile.setHttpUserAgent(s.compatibilityMode ? WebProfile::compatibleUserAgent(s.engineUserAgent)
                                                 : s.engineUserAgent);
}

void configureSettings(QWebEngineSettings &settings)
{
    settings.setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings.setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    // The default still blocks unmuted autoplay on http pages unless set explicitly.
    settings.setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    // Pages must never reach the user's files.
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    // Every custom scheme goes through the navigation policy, not only those from a click.
    settings.setUnknownUrlSchemePolicy(QWebEngineSettings::AllowAllUnknownUrlSchemes);
}

QString storageResetMarker()
{
    return AppPaths::dataFolder() + QStringLiteral("/WebEngine/reset-storage");
}

// Cookies live in the storage folder too; they were deleted when the reset was asked for.
void resetStorageIfAsked()
{
    if (!QFile::exists(storageResetMarker()))
        return;
    QDir(WebProfile::storageFolder()).removeRecursively();
    QFile::remove(storageResetMarker());
}

QWebEngineProfile *createProfile()
{
    resetStorageIfAsked();
    const QString root = AppPaths::dataFolder();
    for (const QString &folder : {root, root + QStringLiteral("/WebEngine"),
                                  WebProfile::storageFolder(), WebProfile::cacheFolder()}) {
        AppPaths::ensurePrivateFolder(folder);
    }
    auto *profile = new QWebEngineProfile(QStringLiteral("Lumivane"));
    profile->setPersistentStoragePath(WebProfile::storageFolder());
    profile->setCachePath(WebProfile::cacheFolder());
    profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    configureSettings(*profile->settings());
    if (state().engineUserAgent.isEmpty())
        state().engineUserAgent = profile->httpUserAgent();
    applyUserAgent(*profile);
    return profile;
}

// Runs as the application object is destroyed, before the engine shuts down (routines
// added later run first). Pages still alive then keep the profile until they go.
void releaseProfile()
{
    state().profile.reset();
}

} // namespace

namespace WebProfile {

std::shared_ptr<QWebEngineProfile> shared()
{
    State &s = state();
    if (!s.profile) {
        s.profile.reset(createProfile());
        qAddPostRoutine(releaseProfile);
    }
    return s.profile;
}

QString storageFolder()
{
    return AppPaths::dataFolder() + QStringLiteral("/WebEngine/storage");
}

QString cacheFolder()
{
    return AppPaths::dataFolder() + QStringLiteral("/WebEngine/cache");
}

void resetStorageAtNextStart()
{
    QFile marker(storageResetMarker());
    if (marker.open(QIODevice::WriteOnly))
        marker.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void setCompatibilityMode(bool on)
{
    state().compatibilityMode = on;
    if (state().profile)
        applyUserAgent(*state().profile);
}

bool compatibilityMode()
{
    return state().compatibilityMode;
}

QString compatibleUserAgent(const QString &engineUserAgent)
{
    static const QRegularExpression token(QStringLiteral("\\s*QtWebEngine/\\S*"));
    return QString(engineUserAgent).remove(token).simplified();
}

} // namespace WebProfile
