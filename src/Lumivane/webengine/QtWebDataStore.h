#pragma once

#include "platform/WebDataStore.h"

#include <functional>
#include <memory>

class QWebEngineProfile;

// The web data of a QtWebEngine profile. Cookies and the HTTP cache go at once; the engine
// offers no call for site storage (local storage, IndexedDB, service workers), so that
// folder is emptied at the next start, before the profile opens it again.
class QtWebDataStore final : public WebDataStore
{
    Q_OBJECT

public:
    using ProfileSource = std::function<std::shared_ptr<QWebEngineProfile>()>;

    // The profile is asked for only when something is cleared: starting the engine for
    // nothing would cost every launch.
    explicit QtWebDataStore(ProfileSource profile, QObject *parent = nullptr);

    void clearAll() override;

private:
    ProfileSource m_profile;
};
