#pragma once

#include <QString>

#include <memory>

class QWebEngineProfile;

// The one persistent web profile ("Lumivane") behind every web page and sign-in window:
// cookies, storage and cache live under the data folder and survive restarts. It lives
// until the application object is destroyed, even while no page is open: a profile let go
// and made again at once loses the cookies it had not yet written. Users hold a reference
// so that it is never released before a page that uses it.
namespace WebProfile {
// The profile, created on first use.
std::shared_ptr<QWebEngineProfile> shared();

// One global setting for every page: the desktop-Chrome user agent instead of the engine's.
void setCompatibilityMode(bool on);
bool compatibilityMode();

// The engine's user agent without its "QtWebEngine/x.y.z" token.
QString compatibleUserAgent(const QString &engineUserAgent);
} // namespace WebProfile
