#include "settings/Preferences.h"

#include "KiteCore/GeoRect.h"
#include "KiteCore/L10n.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>

#include <cmath>

namespace {

const QString darkTheme = QStringLiteral("dark");
const QString lightTheme = QStringLiteral("light");
const QString fixedStyle = QStringLiteral("Fusion");

// The style and palette the application started with, taken before the first change.
struct DesktopLook
{
    QString styleName;
    QPalette palette;
};

const DesktopLook &desktopLook()
{
    static const DesktopLook look{QApplication::style()->name(), QApplication::palette()};
    return look;
}

bool g_lookFixed = false;

QPalette darkPalette()
{
    const QColor window(0x30, 0x30, 0x33);
    const QColor base(0x23, 0x23, 0x26);
    const QColor text(0xe8, 0xe8, 0xea);
    const QColor muted(0x80, 0x80, 0x84);
    const QColor accent(0x3d, 0x8b, 0xf0);

    QPalette palette(window);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, muted);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, muted);
    return palette;
}

void useFixedLook(const QString &theme)
{
    QApplication::setStyle(QStyleFactory::create(fixedStyle));
    QApplication::setPalette(theme == darkTheme ? darkPalette()
                                                : QApplication::style()->standardPalette());
    g_lookFixed = true;
}

void useDesktopLook()
{
    const DesktopLook &look = desktopLook();
    QApplication::setStyle(look.styleName);
    QApplication::setPalette(look.palette);
    g_lookFixed = false;
}

template <typename T>
bool differs(const T &current, const T &value)
{
    return !(current == value);
}

} // namespace

Preferences::Preferences(QSettings &defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
{
    load();
    m_loading = false;
    L10n::setLanguage(m_language);
    applyTheme();
}

Preferences &Preferences::shared()
{
    static Preferences instance(UserDefaults::standard());
    return instance;
}

// Each setting is read through its setter, with its member's initial value as the default;
// m_loading keeps the setters from writing anything back.
void Preferences::load()
{
    setTheme(readString(QStringLiteral("theme"), m_theme));
    setLanguage(appLanguageFromRaw(readString(QStringLiteral("language"), toRaw(m_language)))
                    .value_or(AppLanguage::system));
    setAlwaysOnTop(readBool(QStringLiteral("alwaysOnTop"), m_alwaysOnTop));
    setSnapToEdges(readBool(QStringLiteral("snapToEdges"), m_snapToEdges));
    setPauseWhenHidden(readBool(QStringLiteral("pauseWhenHidden"), m_pauseWhenHidden));
    setRestoreWindows(readBool(QStringLiteral("restoreWindows"), m_restoreWindows));
    const double width = readDouble(QStringLiteral("defaultWidth"), m_defaultWidth);
    // A width no screen could hold is damage, not a wish for a window the size of the screen.
    setDefaultWidth(std::isfinite(width) && width <= GeoRect::largestExtent ? width : m_defaultWidth);
    setLockAspect(readBool(QStringLiteral("lockAspect"), m_lockAspect));
    setAutoHideControls(readBool(QStringLiteral("autoHideControls"), m_autoHideControls));
    setPlaybackRoute(readString(QStringLiteral("playbackRoute"), m_playbackRoute));
    setExternalPlayer(readString(QStringLiteral("externalPlayer"), m_externalPlayer));
    setWebCleanup(readBool(QStringLiteral("webCleanup"), m_webCleanup));
    setWebCompatibilityMode(readBool(QStringLiteral("webCompatibilityMode"), m_webCompatibilityMode));
    setBilibiliClean(readBool(QStringLiteral("bilibiliClean"), m_bilibiliClean));
    setBilibiliHideDanmaku(readBool(QStringLiteral("bilibiliHideDanmaku"), m_bilibiliHideDanmaku));
    setWebControlTakeover(readBool(QStringLiteral("webControlTakeover"), m_webControlTakeover));
    setSaveHistory(readBool(QStringLiteral("saveHistory"), m_saveHistory));
    setResumePlayback(readBool(QStringLiteral("resumePlayback"), m_resumePlayback));
    setGlobalShortcuts(readBool(QStringLiteral("globalShortcuts"), m_globalShortcuts));
    setShortcutBindings(ShortcutBindings::decode(readString(QStringLiteral("shortcutBindings"), {}))
                            .value_or(ShortcutBindings::defaults()));
    setOnboarded(readBool(QStringLiteral("onboarded"), m_onboarded));
}

QString Preferences::readString(const QString &key, const QString &fallback) const
{
    const QVariant stored = m_defaults.value(key);
    return stored.isValid() ? stored.toString() : fallback;
}

bool Preferences::readBool(const QString &key, bool fallback) const
{
    const QVariant stored = m_defaults.value(key);
    return stored.isValid() ? stored.toBool() : fallback;
}

double Preferences::readDouble(const QString &key, double fallback) const
{
    bool ok = false;
    const double value = m_defaults.value(key).toDouble(&ok);
    return ok ? value : fallback;
}

template <typename T, typename Signal>
void Preferences::update(T Preferences::*member, const T &value, const QString &key,
                         const QVariant &stored, Signal changed)
{
    const bool isChange = differs(this->*member, value);
    this->*member = value;
    if (!m_loading) {
        m_defaults.setValue(key, stored);
        const std::optional<QString> error = UserDefaults::save(m_defaults);
        if (error != m_saveError) {
            m_saveError = error;
            Q_EMIT saveErrorChanged(m_saveError);
        }
    }
    if (isChange)
        Q_EMIT(this->*changed)(this->*member);
}

void Preferences::setFlag(bool Preferences::*member, bool value, const QString &key,
                          void (Preferences::*changed)(bool))
{
    update(member, value, key, QVariant(value), changed);
}

void Preferences::applyTheme()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    desktopLook(); // taken now, before any change, so that it can be given back later
    if (m_theme == darkTheme || m_theme == lightTheme)
        useFixedLook(m_theme);
    else if (g_lookFixed)
        useDesktopLook();
}

void Preferences::setTheme(const QString &theme)
{
    update(&Preferences::m_theme, theme, QStringLiteral("theme"), theme, &Preferences::themeChanged);
    if (!m_loading)
        applyTheme();
}

void Preferences::setLanguage(AppLanguage language)
{
    update(&Preferences::m_language, language, QStringLiteral("language"), toRaw(language),
           &Preferences::languageChanged);
    L10n::setLanguage(language);
}

void Preferences::setAlwaysOnTop(bool value)
{
    setFlag(&Preferences::m_alwaysOnTop, value, QStringLiteral("alwaysOnTop"),
            &Preferences::alwaysOnTopChanged);
}

void Preferences::setSnapToEdges(bool value)
{
    setFlag(&Preferences::m_snapToEdges, value, QStringLiteral("snapToEdges"),
            &Preferences::snapToEdgesChanged);
}

void Preferences::setPauseWhenHidden(bool value)
{
    setFlag(&Preferences::m_pauseWhenHidden, value, QStringLiteral("pauseWhenHidden"),
            &Preferences::pauseWhenHiddenChanged);
}

void Preferences::setRestoreWindows(bool value)
{
    setFlag(&Preferences::m_restoreWindows, value, QStringLiteral("restoreWindows"),
            &Preferences::restoreWindowsChanged);
}

void Preferences::setDefaultWidth(double width)
{
    update(&Preferences::m_defaultWidth, width, QStringLiteral("defaultWidth"), QVariant(width),
           &Preferences::defaultWidthChanged);
}

void Preferences::setLockAspect(bool value)
{
    setFlag(&Preferences::m_lockAspect, value, QStringLiteral("lockAspect"),
            &Preferences::lockAspectChanged);
}

void Preferences::setAutoHideControls(bool value)
{
    setFlag(&Preferences::m_autoHideControls, value, QStringLiteral("autoHideControls"),
            &Preferences::autoHideControlsChanged);
}

void Preferences::setPlaybackRoute(const QString &route)
{
    update(&Preferences::m_playbackRoute, route, QStringLiteral("playbackRoute"), route,
           &Preferences::playbackRouteChanged);
}

void Preferences::setExternalPlayer(const QString &player)
{
    update(&Preferences::m_externalPlayer, player, QStringLiteral("externalPlayer"), player,
           &Preferences::externalPlayerChanged);
}

void Preferences::setWebCleanup(bool value)
{
    setFlag(&Preferences::m_webCleanup, value, QStringLiteral("webCleanup"),
            &Preferences::webCleanupChanged);
}

void Preferences::setWebCompatibilityMode(bool value)
{
    setFlag(&Preferences::m_webCompatibilityMode, value, QStringLiteral("webCompatibilityMode"),
            &Preferences::webCompatibilityModeChanged);
}

void Preferences::setBilibiliClean(bool value)
{
    setFlag(&Preferences::m_bilibiliClean, value, QStringLiteral("bilibiliClean"),
            &Preferences::bilibiliCleanChanged);
}

void Preferences::setBilibiliHideDanmaku(bool value)
{
    setFlag(&Preferences::m_bilibiliHideDanmaku, value, QStringLiteral("bilibiliHideDanmaku"),
            &Preferences::bilibiliHideDanmakuChanged);
}

void Preferences::setWebControlTakeover(bool value)
{
    setFlag(&Preferences::m_webControlTakeover, value, QStringLiteral("webControlTakeover"),
            &Preferences::webControlTakeoverChanged);
}

void Preferences::setSaveHistory(bool value)
{
    setFlag(&Preferences::m_saveHistory, value, QStringLiteral("saveHistory"),
            &Preferences::saveHistoryChanged);
}

void Preferences::setResumePlayback(bool value)
{
    setFlag(&Preferences::m_resumePlayback, value, QStringLiteral("resumePlayback"),
            &Preferences::resumePlaybackChanged);
}

void Preferences::setGlobalShortcuts(bool value)
{
    setFlag(&Preferences::m_globalShortcuts, value, QStringLiteral("globalShortcuts"),
            &Preferences::globalShortcutsChanged);
}

void Preferences::setShortcutBindings(const ShortcutBindingMap &bindings)
{
    update(&Preferences::m_shortcutBindings, bindings, QStringLiteral("shortcutBindings"),
           ShortcutBindings::encode(bindings), &Preferences::shortcutBindingsChanged);
}

void Preferences::setOnboarded(bool value)
{
    setFlag(&Preferences::m_onboarded, value, QStringLiteral("onboarded"),
            &Preferences::onboardedChanged);
}

void Preferences::setShortcutStatus(const QString &status)
{
    if (!differs(m_shortcutStatus, status))
        return;
    m_shortcutStatus = status;
    Q_EMIT shortcutStatusChanged(m_shortcutStatus);
}
