#include "webengine/WebProfile.h"

#include "platform/AppPaths.h"
#include "platform/WebStorage.h"

#include <QCoreApplication>
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

QWebEngineProfile *createProfile()
{
    WebStorage::resetIfAsked();
    const QString root = AppPaths::dataFolder();
    for (const QString &folder : {root, root + QStringLiteral("/WebEngine"),
                                  WebStorage::storageFolder(), WebStorage::cacheFolder()}) {
        AppPaths::ensurePrivateFolder(folder);
    }
    auto *profile = new QWebEngineProfile(QStringLiteral("Lumivane"));
    profile->setPersistentStoragePath(WebStorage::storageFolder());
    profile->setCachePath(WebStorage::cacheFolder());
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
