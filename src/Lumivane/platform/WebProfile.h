#pragma once

#include <QString>

#include <memory>

class QWebEngineProfile;

// The one persistent web profile ("Lumivane") behind every web page and sign-in window:
// cookies, storage and cache live under the data folder and survive restarts. Each user
// holds a reference; the profile lives while any reference does, so that it is never
// released before a page that uses it.
namespace WebProfile {
// The profile, created on first use (or again after every holder let it go).
std::shared_ptr<QWebEngineProfile> shared();

// <data>/WebEngine/storage and <data>/WebEngine/cache.
QString storageFolder();
QString cacheFolder();

// One global setting for every page: the desktop-Chrome user agent instead of the engine's.
void setCompatibilityMode(bool on);
bool compatibilityMode();

// The engine's user agent without its "QtWebEngine/x.y.z" token.
QString compatibleUserAgent(const QString &engineUserAgent);
} // namespace WebProfile
