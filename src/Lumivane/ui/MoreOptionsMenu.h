#pragma once

#include "platform/NativePlayer.h"

#include <QMenu>

class PlaybackSession;
class PlayerWindowController;

// The player's "More options" menu. It is rebuilt each time it opens, so its check marks
// and source-dependent items always match the session.
class MoreOptionsMenu final : public QMenu
{
    Q_OBJECT

public:
    MoreOptionsMenu(PlaybackSession &session, PlayerWindowController &controller,
                    QWidget *parent = nullptr);

    void rebuild();

    // "2: Commentary [eng] · aac · default" as the track menus list a track.
    static QString trackLabel(const NativePlayer::Track &track);

Q_SIGNALS:
    void clickThroughRequested();
    // "Open in external player" for a local file; the application decides how.
    void externalPlayerRequested();
    // "Open in browser" for a web source.
    void openInBrowserRequested();

private:
    void addSizeMenu();
    void addPositionMenu();
    void addToggles();
    QAction *addToggle(const QString &text, bool checked, void (PlaybackSession::*setter)(bool));
    void addDanmakuToggle();
    void addCaptureAndPresentation();
    void addTrackMenus();
    void addTrackActions(QMenu *menu, NativePlayer::TrackType type);
    void chooseSubtitleFile();
    void addWebItems();
    void reload();
    void addSiteSupport();
    void addLocalFileItems();
    void revealInFileManager() const;

    PlaybackSession &m_session;
    PlayerWindowController &m_controller;
};
