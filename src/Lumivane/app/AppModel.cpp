#include "app/AppModel.h"

#include "app/DropPayload.h"
#include "app/FolderScan.h"
#include "KiteCore/MediaInputErrorMapper.h"
#include "settings/Preferences.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include "KiteCore/L10n.h"
#include "KiteCore/MediaInput.h"
#include "KiteCore/SiteCapabilities.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QMimeData>
#include <QPointer>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace {
QString expandTilde(const QString &text)
{
    if (text == u'~')
        return QDir::homePath();
    if (text.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + text.mid(1);
    return text;
}

QString externalRecovery()
{
    return L("请在设置中改用系统默认方式，或安装 VLC / mpv。",
             "Switch to the system default in Settings, or install VLC / mpv.",
             "Cambia a la opción predeterminada del sistema en Ajustes, o instala VLC / mpv.");
}

// How the player is written in messages; a stored "iina" keeps its usual capitals.
QString playerDisplayName(const QString &player)
{
    if (player == u"iina")
        return QStringLiteral("IINA");
    if (player == u"vlc")
        return QStringLiteral("VLC");
    return player;
}
} // namespace

AppModel::AppModel(Dependencies dependencies, QObject *parent)
    : QObject(parent)
    , m_preferences(dependencies.preferences)
    , m_defaults(dependencies.defaults)
    , m_workspace(dependencies.workspace)
    , m_makePlayer(std::move(dependencies.makePlayer))
    , m_makeWebPage(std::move(dependencies.makeWebPage))
    , m_content(std::move(dependencies.content))
    , m_now(std::move(dependencies.now))
    , m_runOpenPanel(std::move(dependencies.runOpenPanel))
    , m_sessionTiming(dependencies.sessionTiming)
    , m_windowTimings(dependencies.windowTimings)
    , m_store(dependencies.historyFile)
    , m_playlistStore(dependencies.playlistFile)
    , m_rememberedWindows(dependencies.defaults.value(lastWindowURLsKey))
{
    m_playlist = m_playlistStore.items();
    refreshHistory();
    connect(&m_preferences, &Preferences::saveErrorChanged, this, &AppModel::setSettingsError);
    setSettingsError(m_preferences.saveError());
    m_showingOnboarding = !m_preferences.onboarded();
}

AppModel::~AppModel()
{
    // Controllers first: each holds its session by reference.
    for (PlayerWindowController *controller : std::as_const(m_controllers)) {
        controller->setOnClose({});
        delete controller;
    }
    m_controllers.clear();
    for (PlaybackSession *session : std::as_const(m_sessions)) {
        session->stop();
        delete session;
    }
    m_sessions.clear();
}

// Published values

void AppModel::setInput(const QString &input)
{
    if (m_input == input)
        return;
    m_input = input;
    Q_EMIT inputChanged(m_input);
}

void AppModel::dismissError()
{
    setInputError(std::nullopt);
}

void AppModel::setSection(HomeSection section)
{
    if (m_section == section)
        return;
    m_section = section;
    Q_EMIT sectionChanged(m_section);
}

void AppModel::setShowingOnboarding(bool showing)
{
    if (m_showingOnboarding == showing)
        return;
    m_showingOnboarding = showing;
    Q_EMIT showingOnboardingChanged(m_showingOnboarding);
}

void AppModel::setSettingsTabRequest(const std::optional<QString> &tab)
{
    if (m_settingsTabRequest == tab)
        return;
    m_settingsTabRequest = tab;
    Q_EMIT settingsTabRequestChanged(m_settingsTabRequest);
}

void AppModel::setTerminating(bool terminating)
{
    m_isTerminating = terminating;
}

void AppModel::setInputError(const std::optional<AppError> &error)
{
    if (!m_inputError && !error)
        return;
    m_inputError = error;
    Q_EMIT inputErrorChanged(m_inputError);
}

// The stores word their own failures, one line each; each stays until a save of that store works.
void AppModel::updateStorageWarning()
{
    QStringList lines;
    for (const std::optional<QString> *error :
         {&m_store.persistenceError(), &m_playlistStore.persistenceError(), &std::as_const(m_settingsError)}) {
        if (*error)
            lines.append(**error);
    }
    const std::optional<QString> warning =
        lines.isEmpty() ? std::nullopt : std::optional(lines.join(QLatin1Char('\n')));
    if (m_storageWarning == warning)
        return;
    m_storageWarning = warning;
    Q_EMIT storageWarningChanged(m_storageWarning);
}

void AppModel::setSettingsError(const std::optional<QString> &error)
{
    m_settingsError = error;
    updateStorageWarning();
}

void AppModel::setCurrentPlaylistItemID(const std::optional<QUuid> &id)
{
    if (m_currentPlaylistItemID == id)
        return;
    m_currentPlaylistItemID = id;
    Q_EMIT currentPlaylistItemIDChanged(m_currentPlaylistItemID);
}

// Queries

bool AppModel::canOpenInput() const
{
    return !m_input.trimmed().isEmpty();
}

QList<HistoryItem> AppModel::favorites() const
{
    QList<HistoryItem> result;
    for (const HistoryItem &item : m_history) {
        if (item.isFavorite)
            result.append(item);
    }
    return result;
}

PlaybackSession *AppModel::mostRecentVisibleSession() const
{
    for (auto it = m_sessions.crbegin(); it != m_sessions.crend(); ++it) {
        if (!(*it)->isHidden())
            return *it;
    }
    return nullptr;
}

PlayerWindowController *AppModel::controller(const PlaybackSession &session) const
{
    return m_controllers.value(session.id(), nullptr);
}

// The open flow

void AppModel::open(const QString &text)
{
    const QFileInfo expanded(expandTilde(text));
    if (expanded.exists() && expanded.isDir()) {
        addToPlaylist({QUrl::fromLocalFile(expanded.absoluteFilePath())});
        return;
    }
    const std::expected<MediaSource, MediaInputError> parsed = MediaInput::parse(text);
    if (!parsed) {
        report(MediaInputErrorMapper::appError(parsed.error()));
        return;
    }
    setInputError(std::nullopt);
    open(*parsed);
}

void AppModel::open(const MediaSource &source)
{
    setInputError(std::nullopt);
    if (m_preferences.playbackRoute() == u"external") {
        openExternal(source, false, {});
        return;
    }
    for (PlaybackSession *session : std::as_const(m_sessions)) {
        if (session->source().url() == source.url()) {
            present(*session);
            return;
        }
    }
    if (m_sessions.size() > maximumSessions - 1) {
        const AppError refusal(AppError::Kind::input,
                               L("最多同时打开 %1 个浮窗。", "At most %1 floating windows at once.",
                                 "Como máximo %1 ventanas flotantes a la vez.")
                                   .arg(maximumSessions),
                               L("请先关闭或隐藏一个当前的窗口。",
                                 "Close or hide one of the current windows first.",
                                 "Cierra u oculta primero una de las ventanas actuales."));
        // The home window sits behind eight players that stay on top: tell it where the
        // user is looking too.
        if (PlaybackSession *front = mostRecentVisibleSession())
            front->showToast(refusal.message());
        report(refusal);
        return;
    }
    PlaybackSession *session = createSession(source);
    markPlaylistEntry(source.urlString());
    wire(*session);
    PlayerWindowController *controller = m_controllers.value(session->id());

    const std::optional<QString> host =
        source.url().host().isEmpty() ? std::nullopt : std::optional<QString>(source.url().host());
    if (const std::optional<SiteStatus> status = SiteCapabilities::status(host);
        status && status->capability == SiteCapability::unsupported)
        session->showToast(siteHint(*status));

    QPointer<AppModel> self(this);
    const QUuid id = session->id();
    controller->setOnClose([self, id] {
        if (self)
            self->tearDown(id);
    });
    subscribe(*session);
    m_sessions.append(session);
    Q_EMIT sessionsChanged(m_sessions);
    controller->present();
    recordHistory(source);
    notifyMenu();
    saveWindowState();
}

PlaybackSession *AppModel::createSession(const MediaSource &source)
{
    std::optional<double> resume;
    if (m_preferences.resumePlayback()) {
        if (const std::optional<HistoryItem> item = m_store.item(source.url()))
            resume = item->resumeSeconds;
    }
    return new PlaybackSession(source, resume,
                               {m_preferences, m_defaults, m_makePlayer, m_makeWebPage, m_sessionTiming});
}

void AppModel::wire(PlaybackSession &session)
{
    QPointer<PlaybackSession> weakSession(&session);
    const MediaSource source = session.source();
    const QUuid id = session.id();

    // The session is alive while it emits; advancing may close it.
    connect(&session, &PlaybackSession::reachedEnd, this,
            [this, ending = &session, source] { advancePlaylist(source, ending); });
    auto *controller = new PlayerWindowController(session, m_defaults, m_preferences, m_placement,
                                                  m_content, m_windowTimings);
    m_controllers.insert(id, controller);
    connect(&session, &PlaybackSession::externalRequested, this, [this, weakSession, source] {
        QPointer<AppModel> self(this);
        openExternal(source, true, [self, weakSession] {
            if (self && weakSession)
                self->close(*weakSession);
        });
    });
    connect(&session, &PlaybackSession::progressReported, this,
            [this, id, source](double elapsed, std::optional<double> duration) {
                saveProgress(id, source, elapsed, duration);
            });
    connect(&session, &PlaybackSession::titleReported, this,
            [this, source](const QString &title) { retitleHistory(source, title); });
    connect(&session, &PlaybackSession::thumbnailReported, this,
            [this, source](const QUrl &url) { attachThumbnail(source, url); });
}

// Every published value of the session re-notifies the model, so list views redraw.
void AppModel::subscribe(PlaybackSession &session)
{
    const QMetaMethod forward = QMetaMethod::fromSignal(&AppModel::sessionDidChange);
    const QMetaObject *meta = session.metaObject();
    QList<QMetaObject::Connection> connections;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.hasNotifySignal())
            connections.append(connect(&session, property.notifySignal(), this, forward));
    }
    m_sessionSubscriptions.insert(session.id(), connections);
}

QString AppModel::siteHint(const SiteStatus &status)
{
    if (status.unsupportedReason == SiteUnsupportedReason::drm) {
        return status.displayName
               + L(" 需要 DRM（Widevine），这里可能只有黑屏。请用 更多 → 在浏览器中打开。",
                   " needs DRM (Widevine); playback may stay black here. Use More → Open in "
                   "browser.",
                   " requiere DRM (Widevine); aquí la reproducción puede quedarse en negro. Usa "
                   "Más → Abrir en el navegador.");
    }
    return status.displayName
           + L(" 需要登录且有反爬保护，网页版可能不稳定。请用 更多 → 在浏览器中打开。",
               " is login-gated and anti-bot protected; the web version may be unstable. Use "
               "More → Open in browser.",
               " exige iniciar sesión y tiene protección antibots; la versión web puede ser "
               "inestable. Usa Más → Abrir en el navegador.");
}

void AppModel::tearDown(const QUuid &id)
{
    PlaybackSession *closed = nullptr;
    for (PlaybackSession *session : std::as_const(m_sessions)) {
        if (session->id() == id)
            closed = session;
    }
    m_sessions.removeIf([&id](const PlaybackSession *session) { return session->id() == id; });
    for (const QMetaObject::Connection &connection : m_sessionSubscriptions.take(id))
        disconnect(connection);
    // Deferred: this runs inside the window's close handling. The controller goes first,
    // as it holds the session by reference.
    if (PlayerWindowController *controller = m_controllers.take(id))
        controller->deleteLater();
    if (closed)
        closed->deleteLater();
    m_lastResumeSave.remove(id);
    Q_EMIT sessionsChanged(m_sessions);
    notifyMenu();
    if (!m_isTerminating)
        saveWindowState();
}

// Window operations

void AppModel::present(PlaybackSession &session)
{
    if (PlayerWindowController *controller = m_controllers.value(session.id()))
        controller->recover();
}

void AppModel::close(PlaybackSession &session)
{
    if (PlayerWindowController *controller = m_controllers.value(session.id()))
        controller->close();
}

void AppModel::hide(PlaybackSession &session)
{
    hideWindow(session);
    notifyMenu();
}

void AppModel::hideWindow(PlaybackSession &session)
{
    if (PlayerWindowController *controller = m_controllers.value(session.id())) {
        controller->session().setHidden(true);
        if (QWidget *window = controller->window())
            window->hide();
    }
}

void AppModel::toggleAll()
{
    const auto clickThrough = [](const PlaybackSession *session) { return session->clickThrough(); };
    if (std::ranges::any_of(m_sessions, clickThrough)) {
        recoverAll();
        return;
    }
    const auto visible = [](const PlaybackSession *session) { return !session->isHidden(); };
    if (std::ranges::any_of(m_sessions, visible)) {
        for (PlaybackSession *session : std::as_const(m_sessions))
            hideWindow(*session);
    } else {
        recoverAll();
    }
    notifyMenu();
    saveWindowState();
}

QWidget *AppModel::activeWindow() const
{
    return QApplication::activeWindow();
}

void AppModel::togglePlaybackOfActive()
{
    PlaybackSession *target = nullptr;
    if (QWidget *active = activeWindow()) {
        for (PlaybackSession *session : std::as_const(m_sessions)) {
            const PlayerWindowController *controller = m_controllers.value(session->id());
            if (controller && controller->window() == active)
                target = session;
        }
    }
    if (!target) {
        const auto visible = std::ranges::find_if(
            m_sessions, [](const PlaybackSession *session) { return !session->isHidden(); });
        if (visible != m_sessions.end())
            target = *visible;
        else if (!m_sessions.isEmpty())
            target = m_sessions.first();
    }
    if (target)
        target->togglePlayback();
    notifyMenu();
}

void AppModel::recoverAll()
{
    if (m_controllers.isEmpty()) {
        Q_EMIT showHomeRequested();
        return;
    }
    // In opening order, so the newest window ends up in front.
    for (PlaybackSession *session : std::as_const(m_sessions)) {
        if (PlayerWindowController *controller = m_controllers.value(session->id()))
            controller->recover();
    }
    notifyMenu();
}

void AppModel::stopAll()
{
    for (PlaybackSession *session : std::as_const(m_sessions))
        session->stop();
}

void AppModel::notifyMenu()
{
    Q_EMIT menuUpdateRequested();
}

// Remembered windows

void AppModel::saveWindowState()
{
    if (!m_preferences.restoreWindows()) {
        m_defaults.remove(lastWindowURLsKey);
    } else {
        QStringList urls;
        for (const PlaybackSession *session : m_sessions.first(
                 std::min<qsizetype>(m_sessions.size(), maximumSessions)))
            urls.append(session->source().urlString());
        m_defaults.setValue(lastWindowURLsKey, urls);
    }
    setSettingsError(UserDefaults::save(m_defaults));
}

void AppModel::prepareToQuit()
{
    if (m_isTerminating)
        return;
    saveWindowState();
    m_isTerminating = true;
}

void AppModel::restoreWindowsIfNeeded()
{
    if (m_didRestoreWindows)
        return;
    m_didRestoreWindows = true;
    if (!m_preferences.restoreWindows())
        return;
    if (!m_rememberedWindows.canConvert<QStringList>())
        return;
    const QList<PlaybackSession *> openedBefore = m_sessions;
    const QStringList urls = m_rememberedWindows.toStringList();
    for (const QString &text : urls.first(std::min<qsizetype>(urls.size(), restoredWindows))) {
        const QUrl url(text, QUrl::StrictMode);
        if (url.isValid() && !url.isEmpty())
            open(url.toString(QUrl::FullyEncoded));
    }
    // What this launch asked for stays the newest window, in front of the remembered ones.
    for (PlaybackSession *session : openedBefore) {
        if (!m_sessions.removeOne(session))
            continue;
        m_sessions.append(session);
        if (!session->isHidden())
            present(*session);
    }
    if (!openedBefore.isEmpty()) {
        Q_EMIT sessionsChanged(m_sessions);
        saveWindowState();
    }
}

// Clipboard and Open panel

void AppModel::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        report(AppError(AppError::Kind::input,
                        L("剪贴板里没有链接或路径。", "The clipboard has no link or path.",
                          "El portapapeles no tiene ningún enlace ni ruta."),
                        L("请复制一个链接或文件路径后重试。",
                          "Copy a link or file path and try again.",
                          "Copia un enlace o una ruta de archivo y vuelve a intentarlo.")));
        return;
    }
    setInput(text);
    setInputError(std::nullopt);
}

void AppModel::pasteAndOpen()
{
    paste();
    if (!m_inputError)
        open(m_input);
}

void AppModel::openFile()
{
    const QList<QUrl> chosen = m_runOpenPanel(
        {L("选择要浮动播放的内容", "Choose something to float", "Elige algo para flotar"), false,
         false});
    if (chosen.isEmpty())
        return;
    setInput(chosen.first().toLocalFile());
    open(chosen.first().toString(QUrl::FullyEncoded));
}

void AppModel::report(const AppError &error)
{
    m_inputError = error;
    Q_EMIT inputErrorChanged(m_inputError);
    setSection(HomeSection::open);
    Q_EMIT showHomeRequested();
}

// External players and the browser

void AppModel::openExternal(const MediaSource &source, [[maybe_unused]] bool closeAfter,
                            const std::function<void()> &completion)
{
    const QString player = m_preferences.externalPlayer();
    if (player == u"iina" || player == u"vlc" || player == u"mpv")
        openWithPlayer(source, player, completion);
    else
        openWithSystem(source, completion);
}

void AppModel::openWithPlayer(const MediaSource &source, const QString &player,
                              const std::function<void()> &completion)
{
    // There is no IINA on this desktop: a stored choice of it reads as not installed.
    const std::optional<QString> executable =
        player == u"iina" ? std::nullopt : m_workspace.findPlayer(player);
    if (!executable) {
        const QString name = playerDisplayName(player);
        report(AppError(AppError::Kind::external,
                        L("%1 未安装。请安装它，或改用系统默认方式。",
                          "%1 isn't installed. Install it or switch to System default.",
                          "%1 no está instalado. Instálalo o cambia a la opción predeterminada del "
                          "sistema.")
                            .arg(name),
                        externalRecovery()));
        return;
    }
    const std::expected<void, QString> launched = m_workspace.launchPlayer(*executable, source.url());
    if (!launched) {
        report(AppError(AppError::Kind::external, launched.error(), externalRecovery()));
        return;
    }
    recordHistory(source);
    if (completion)
        completion();
}

void AppModel::openWithSystem(const MediaSource &source, const std::function<void()> &completion)
{
    if (m_workspace.defaultsToThisApp(source.url())) {
        report(AppError(AppError::Kind::external,
                        L("这种文件默认用 Lumivane 打开。请在设置中选择 VLC 或 mpv。",
                          "This file type opens with Lumivane by default. Choose VLC or mpv in "
                          "Settings.",
                          "Este tipo de archivo se abre con Lumivane de forma predeterminada. Elige "
                          "VLC o mpv en Ajustes."),
                        externalRecovery()));
        return;
    }
    if (!m_workspace.openUrl(source.url())) {
        report(AppError(AppError::Kind::external,
                        L("系统无法打开它。", "The system couldn't open this.",
                          "El sistema no ha podido abrirlo."),
                        externalRecovery()));
        return;
    }
    recordHistory(source);
    if (completion)
        completion();
}

void AppModel::openInBrowser(const MediaSource &source)
{
    if (source.kind() == MediaKind::localFile)
        return;
    const QString scheme = source.url().scheme().toLower();
    if (scheme == u"http" || scheme == u"https")
        m_workspace.openUrl(source.url());
}

void AppModel::recordHistory(const MediaSource &source)
{
    if (!m_preferences.saveHistory())
        return;
    m_store.record(source);
    refreshHistory();
}

// History and resume positions

void AppModel::clearHistory()
{
    m_store.clear();
    refreshHistory();
}

void AppModel::refreshHistory()
{
    m_history = m_store.items();
    Q_EMIT historyChanged(m_history);
    updateStorageWarning();
}

void AppModel::saveProgress(const QUuid &sessionID, const MediaSource &source, double elapsed,
                            std::optional<double> duration)
{
    if (!m_preferences.saveHistory() || !m_preferences.resumePlayback()
        || !(elapsed > resumeMinimumSeconds))
        return;
    const QDateTime now = m_now();
    if (const auto last = m_lastResumeSave.constFind(sessionID); last != m_lastResumeSave.constEnd()
        && double(last->msecsTo(now)) < resumeThrottleSeconds * 1000.0)
        return;
    m_lastResumeSave.insert(sessionID, now);
    if (const std::optional<HistoryItem> item = m_store.item(source.url()))
        m_store.updateResume(item->id, elapsed, duration);
}

void AppModel::retitleHistory(const MediaSource &source, const QString &title)
{
    if (!m_preferences.saveHistory())
        return;
    const std::optional<HistoryItem> item = m_store.item(source.url());
    if (!item || item->title == title)
        return;
    m_store.updateTitle(item->id, title);
    refreshHistory();
}

void AppModel::attachThumbnail(const MediaSource &source, const QUrl &url)
{
    if (!m_preferences.saveHistory())
        return;
    const std::optional<HistoryItem> item = m_store.item(source.url());
    const QString urlString = url.toString(QUrl::FullyEncoded);
    if (!item || item->thumbnailURLString == urlString)
        return;
    m_store.updateThumbnail(item->id, urlString);
    refreshHistory();
}

void AppModel::setFavorite(const QUuid &id, bool isFavorite)
{
    m_store.setFavorite(id, isFavorite);
    refreshHistory();
}

void AppModel::removeFromHistory(const QUuid &id)
{
    m_store.remove(id);
    refreshHistory();
}

// Playlist

void AppModel::syncPlaylist()
{
    m_playlist = m_playlistStore.items();
    Q_EMIT playlistChanged(m_playlist);
    updateStorageWarning();
}

void AppModel::markPlaylistEntry(const QString &urlString)
{
    const auto entry = std::ranges::find(m_playlist, urlString, &PlaylistItem::urlString);
    if (entry != m_playlist.end())
        setCurrentPlaylistItemID(entry->id);
}

void AppModel::addToPlaylist(const QList<QUrl> &urls)
{
    QList<PlaylistItem> added;
    for (const QUrl &url : urls) {
        const QFileInfo info(url.toLocalFile());
        if (!url.isLocalFile() || !info.exists())
            continue;
        if (info.isDir()) {
            added.append(FolderScan::mediaItems(url));
            continue;
        }
        if (const auto source = MediaInput::parse(info.absoluteFilePath()))
            added.append(PlaylistItem::fromSource(*source));
    }
    if (added.isEmpty())
        return;
    m_playlistStore.add(added);
    syncPlaylist();
    setSection(HomeSection::playlist);
    if (m_sessions.isEmpty() && !m_playlist.isEmpty()) {
        const PlaylistItem first = m_playlist.first();
        setCurrentPlaylistItemID(first.id);
        open(first.urlString);
    }
}

void AppModel::addFilesToPlaylist()
{
    const QList<QUrl> chosen =
        m_runOpenPanel({L("添加到播放列表", "Add to playlist", "Añadir a la lista"), true, false});
    if (!chosen.isEmpty())
        addToPlaylist(chosen);
}

void AppModel::addFolderToPlaylist()
{
    const QList<QUrl> chosen =
        m_runOpenPanel({L("把文件夹添加到播放列表", "Add a folder to the playlist",
                          "Añadir una carpeta a la lista"),
                        false, true});
    if (!chosen.isEmpty())
        addToPlaylist({chosen.first()});
}

void AppModel::removePlaylistItem(const QUuid &id)
{
    m_playlistStore.remove(id);
    syncPlaylist();
    if (m_currentPlaylistItemID == id)
        setCurrentPlaylistItemID(std::nullopt);
}

void AppModel::clearPlaylist()
{
    m_playlistStore.clearItems();
    m_playlistStore.persist();
    syncPlaylist();
    setCurrentPlaylistItemID(std::nullopt);
}

void AppModel::advancePlaylist(const MediaSource &source, PlaybackSession *session)
{
    const QString urlString = source.urlString();
    const auto entry = std::ranges::find(m_playlist, urlString, &PlaylistItem::urlString);
    if (entry == m_playlist.end() || std::next(entry) == m_playlist.end())
        return;
    const PlaylistItem next = *std::next(entry);
    setCurrentPlaylistItemID(next.id);
    if (session)
        close(*session);
    open(next.urlString);
}

bool AppModel::hasNextInPlaylist(const MediaSource &source) const
{
    const auto entry = std::ranges::find(m_playlist, source.urlString(), &PlaylistItem::urlString);
    return entry != m_playlist.end() && std::next(entry) != m_playlist.end();
}

void AppModel::playNext(PlaybackSession &session)
{
    advancePlaylist(session.source(), &session);
}

bool AppModel::acceptDrop(const QMimeData &data)
{
    const DropPayload payload = DropPayload::decide(data);
    if (payload.action == DropPayload::Action::refused)
        return false;
    QMetaObject::invokeMethod(
        this,
        [this, payload] {
            if (payload.action == DropPayload::Action::addFolder) {
                addToPlaylist({payload.folder});
                return;
            }
            setInput(payload.input);
            open(payload.openText);
        },
        Qt::QueuedConnection);
    return true;
}
