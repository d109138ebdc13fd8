#pragma once

#include "KiteCore/AppLanguage.h"
#include "KiteCore/ShortcutBindings.h"

#include <QObject>
#include <QString>

#include <optional>

class QSettings;
class QVariant;

// The one store of user settings. Every stored setting lives under a key equal to its
// property name; a change made after construction is written straight back. A missing key
// reads as the default written beside its member below, and defaults are never written
// to the file.
class Preferences final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString theme READ theme WRITE setTheme NOTIFY themeChanged)
    Q_PROPERTY(AppLanguage language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(bool alwaysOnTop READ alwaysOnTop WRITE setAlwaysOnTop NOTIFY alwaysOnTopChanged)
    Q_PROPERTY(bool snapToEdges READ snapToEdges WRITE setSnapToEdges NOTIFY snapToEdgesChanged)
    Q_PROPERTY(bool pauseWhenHidden READ pauseWhenHidden WRITE setPauseWhenHidden NOTIFY
                   pauseWhenHiddenChanged)
    Q_PROPERTY(bool restoreWindows READ restoreWindows WRITE setRestoreWindows NOTIFY
                   restoreWindowsChanged)
    Q_PROPERTY(double defaultWidth READ defaultWidth WRITE setDefaultWidth NOTIFY defaultWidthChanged)
    Q_PROPERTY(bool lockAspect READ lockAspect WRITE setLockAspect NOTIFY lockAspectChanged)
    Q_PROPERTY(bool autoHideControls READ autoHideControls WRITE setAutoHideControls NOTIFY
                   autoHideControlsChanged)
    Q_PROPERTY(QString playbackRoute READ playbackRoute WRITE setPlaybackRoute NOTIFY
                   playbackRouteChanged)
    Q_PROPERTY(QString externalPlayer READ externalPlayer WRITE setExternalPlayer NOTIFY
                   externalPlayerChanged)
    Q_PROPERTY(bool webCleanup READ webCleanup WRITE setWebCleanup NOTIFY webCleanupChanged)
    Q_PROPERTY(bool webCompatibilityMode READ webCompatibilityMode WRITE setWebCompatibilityMode
                   NOTIFY webCompatibilityModeChanged)
    Q_PROPERTY(bool bilibiliClean READ bilibiliClean WRITE setBilibiliClean NOTIFY bilibiliCleanChanged)
    Q_PROPERTY(bool bilibiliHideDanmaku READ bilibiliHideDanmaku WRITE setBilibiliHideDanmaku NOTIFY
                   bilibiliHideDanmakuChanged)
    Q_PROPERTY(bool webControlTakeover READ webControlTakeover WRITE setWebControlTakeover NOTIFY
                   webControlTakeoverChanged)
    Q_PROPERTY(bool saveHistory READ saveHistory WRITE setSaveHistory NOTIFY saveHistoryChanged)
    Q_PROPERTY(bool resumePlayback READ resumePlayback WRITE setResumePlayback NOTIFY
                   resumePlaybackChanged)
    Q_PROPERTY(bool globalShortcuts READ globalShortcuts WRITE setGlobalShortcuts NOTIFY
                   globalShortcutsChanged)
    Q_PROPERTY(ShortcutBindingMap shortcutBindings READ shortcutBindings WRITE setShortcutBindings
                   NOTIFY shortcutBindingsChanged)
    Q_PROPERTY(bool onboarded READ onboarded WRITE setOnboarded NOTIFY onboardedChanged)
    Q_PROPERTY(QString shortcutStatus READ shortcutStatus WRITE setShortcutStatus NOTIFY
                   shortcutStatusChanged)
    Q_PROPERTY(std::optional<QString> saveError READ saveError NOTIFY saveErrorChanged)

public:
    // Reads every setting from the given store, publishes the language and applies the theme.
    explicit Preferences(QSettings &defaults, QObject *parent = nullptr);

    // Created on first use over the standard user-defaults store.
    static Preferences &shared();

    // "dark" and "light" fix the application's look; anything else gives back the desktop's.
    void applyTheme();

    const QString &theme() const { return m_theme; }
    AppLanguage language() const { return m_language; }
    bool alwaysOnTop() const { return m_alwaysOnTop; }
    bool snapToEdges() const { return m_snapToEdges; }
    bool pauseWhenHidden() const { return m_pauseWhenHidden; }
    bool restoreWindows() const { return m_restoreWindows; }
    double defaultWidth() const { return m_defaultWidth; }
    bool lockAspect() const { return m_lockAspect; }
    bool autoHideControls() const { return m_autoHideControls; }
    const QString &playbackRoute() const { return m_playbackRoute; }
    const QString &externalPlayer() const { return m_externalPlayer; }
    bool webCleanup() const { return m_webCleanup; }
    bool webCompatibilityMode() const { return m_webCompatibilityMode; }
    bool bilibiliClean() const { return m_bilibiliClean; }
    bool bilibiliHideDanmaku() const { return m_bilibiliHideDanmaku; }
    bool webControlTakeover() const { return m_webControlTakeover; }
    bool saveHistory() const { return m_saveHistory; }
    bool resumePlayback() const { return m_resumePlayback; }
    bool globalShortcuts() const { return m_globalShortcuts; }
    const ShortcutBindingMap &shortcutBindings() const { return m_shortcutBindings; }
    bool onboarded() const { return m_onboarded; }
    const QString &shortcutStatus() const { return m_shortcutStatus; }
    // Why the last change could not be written to the settings file; absent once one could.
    const std::optional<QString> &saveError() const { return m_saveError; }

    void setTheme(const QString &theme);
    void setLanguage(AppLanguage language);
    void setAlwaysOnTop(bool value);
    void setSnapToEdges(bool value);
    void setPauseWhenHidden(bool value);
    void setRestoreWindows(bool value);
    void setDefaultWidth(double width);
    void setLockAspect(bool value);
    void setAutoHideControls(bool value);
    void setPlaybackRoute(const QString &route);
    void setExternalPlayer(const QString &player);
    void setWebCleanup(bool value);
    void setWebCompatibilityMode(bool value);
    void setBilibiliClean(bool value);
    void setBilibiliHideDanmaku(bool value);
    void setWebControlTakeover(bool value);
    void setSaveHistory(bool value);
    void setResumePlayback(bool value);
    void setGlobalShortcuts(bool value);
    void setShortcutBindings(const ShortcutBindingMap &bindings);
    void setOnboarded(bool value);
    // Shown in settings only; never stored.
    void setShortcutStatus(const QString &status);

Q_SIGNALS:
    void themeChanged(const QString &theme);
    void languageChanged(AppLanguage language);
    void alwaysOnTopChanged(bool value);
    void snapToEdgesChanged(bool value);
    void pauseWhenHiddenChanged(bool value);
    void restoreWindowsChanged(bool value);
    void defaultWidthChanged(double width);
    void lockAspectChanged(bool value);
    void autoHideControlsChanged(bool value);
    void playbackRouteChanged(const QString &route);
    void externalPlayerChanged(const QString &player);
    void webCleanupChanged(bool value);
    void webCompatibilityModeChanged(bool value);
    void bilibiliCleanChanged(bool value);
    void bilibiliHideDanmakuChanged(bool value);
    void webControlTakeoverChanged(bool value);
    void saveHistoryChanged(bool value);
    void resumePlaybackChanged(bool value);
    void globalShortcutsChanged(bool value);
    void shortcutBindingsChanged(const ShortcutBindingMap &bindings);
    void onboardedChanged(bool value);
    void shortcutStatusChanged(const QString &status);
    void saveErrorChanged(const std::optional<QString> &error);

private:
    void load();
    QString readString(const QString &key, const QString &fallback) const;
    bool readBool(const QString &key, bool fallback) const;
    double readDouble(const QString &key, double fallback) const;

    // Sets the member, writes the stored form unless loading, and notifies on a change.
    template <typename T, typename Signal>
    void update(T Preferences::*member, const T &value, const QString &key, const QVariant &stored,
                Signal changed);
    void setFlag(bool Preferences::*member, bool value, const QString &key,
                 void (Preferences::*changed)(bool));

    QSettings &m_defaults;
    bool m_loading = true;

    QString m_theme = QStringLiteral("system");
    AppLanguage m_language = AppLanguage::system;
    bool m_alwaysOnTop = true;
    bool m_snapToEdges = true;
    bool m_pauseWhenHidden = true;
    bool m_restoreWindows = true;
    double m_defaultWidth = 640.0;
    bool m_lockAspect = true;
    bool m_autoHideControls = true;
    QString m_playbackRoute = QStringLiteral("inline");
    QString m_externalPlayer = QStringLiteral("system");
    bool m_webCleanup = true;
    bool m_webCompatibilityMode = true;
    bool m_bilibiliClean = true;
    bool m_bilibiliHideDanmaku = true;
    bool m_webControlTakeover = true;
    bool m_saveHistory = true;
    bool m_resumePlayback = true;
    bool m_globalShortcuts = true;
    ShortcutBindingMap m_shortcutBindings = ShortcutBindings::defaults();
    bool m_onboarded = false;
    QString m_shortcutStatus;
    std::optional<QString> m_saveError;
};
