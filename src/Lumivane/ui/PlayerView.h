#pragma once

#include <QPointer>
#include <QWidget>

class ControlBar;
class ElidedLabel;
class MoreOptionsMenu;
class NativePlayer;
class OpacityPopover;
class OverlayAutoHide;
class PlaybackSession;
class PlaybackState;
class PlayerWindowController;
class Preferences;
class QLabel;
class QMenu;
class QMessageBox;
class QToolButton;
class ScrubberBar;
class StatusPanel;
class VolumePopover;
class WebViewInput;

// The content of a player window: the session's picture with the controls laid over it
// (top bar, transport row with the scrubber, volume and opacity panels, speed and
// more-options menus, the loading/failure panel and toasts). Controls act on the session
// or on the window's controller. The picture of a web source is its page's view, which
// also takes the keyboard, all keys but Escape.
class PlayerView final : public QWidget
{
    Q_OBJECT

public:
    PlayerView(PlaybackSession &session, PlayerWindowController &controller,
               Preferences &preferences, QWidget *parent = nullptr);
    ~PlayerView() override;

    // Tests shorten the auto-hide waits.
    void setAutoHideDelays(int leaveMs, int appearMs);
    bool controlsVisible() const;
    // Texts about getting a window back point at the tray only when there is one.
    void setTrayAvailable(bool available);
    // Escape: leave cinema mode, else end click-through, else close the window.
    void handleEscape();

    QWidget *videoWidget() const { return m_video; }
    // The page's view while it is shown here; null for native sources.
    QWidget *webView() const { return m_webView; }
    MoreOptionsMenu *moreMenu() const { return m_moreMenu; }
    QMenu *speedMenu() const { return m_speedMenu; }
    VolumePopover *volumePopover() const { return m_volume; }
    OpacityPopover *opacityPopover() const { return m_opacity; }
    StatusPanel *statusPanel() const { return m_status; }
    ScrubberBar *scrubber() const { return m_scrubber; }
    QLabel *toastLabel() const { return m_toast; }

Q_SIGNALS:
    // "Open in external player" while loading or for a local file; the application decides how.
    void externalPlayerRequested();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTopBar();
    void buildBottomBar();
    QWidget *buildTransportRow();
    void buildSpeedMenu();
    void buildOverlays();
    void connectSession();
    void connectStatusPanel();

    void replaceVideo(NativePlayer *player);
    void replaceWebView(QWidget *view);
    void detachWebView();
    void applyState(const PlaybackState &state);
    void applyProgress();
    void applyVolume(double volume);
    void applyToast();
    void refreshButtons();
    void refreshSpeedMenu();
    // Without a media element on the page nothing can play; without seekable ranges
    // nothing can seek.
    void applyTransportState();
    void applyControlsVisibility(bool visible);
    void layoutOverlays();
    void stackOverlays();

    void toggleGrabMode();
    void togglePopover(QWidget *popover);
    void closePopovers();
    // An open panel first, else the exit command.
    void escapePressed();
    bool isWeb() const;
    void togglePlay();
    void skip(double delta);
    void seekTo(double seconds);
    void scrubbingChanged(bool scrubbing);
    void chooseVolume(double volume);
    void hideWindow();
    void confirmClickThrough();
    void startWindowDrag();
    void openSourceInBrowser() const;
    void copyLink() const;
    QString restoreShortcutDisplay() const;

    PlaybackSession &m_session;
    PlayerWindowController &m_controller;
    Preferences &m_preferences;
    OverlayAutoHide *m_autoHide;

    QPointer<QWidget> m_video;
    // Belongs to the session's page: only ever detached from here, never deleted.
    QPointer<QWidget> m_webView;
    WebViewInput *m_webInput;
    ControlBar *m_topBar = nullptr;
    ControlBar *m_bottomBar = nullptr;
    ElidedLabel *m_title = nullptr;
    QToolButton *m_grabButton = nullptr;
    QToolButton *m_pinButton = nullptr;
    QToolButton *m_opacityButton = nullptr;
    QToolButton *m_cinemaButton = nullptr;
    QToolButton *m_hideButton = nullptr;
    QToolButton *m_closeButton = nullptr;
    QToolButton *m_moreButton = nullptr;
    QToolButton *m_playButton = nullptr;
    QToolButton *m_backButton = nullptr;
    QToolButton *m_forwardButton = nullptr;
    QToolButton *m_volumeButton = nullptr;
    QToolButton *m_speedButton = nullptr;
    QToolButton *m_loopButton = nullptr;
    QToolButton *m_clickThroughButton = nullptr;
    ScrubberBar *m_scrubber = nullptr;
    QLabel *m_elapsedLabel = nullptr;
    QLabel *m_durationLabel = nullptr;
    QMenu *m_speedMenu = nullptr;
    MoreOptionsMenu *m_moreMenu = nullptr;
    VolumePopover *m_volume = nullptr;
    OpacityPopover *m_opacity = nullptr;
    StatusPanel *m_status = nullptr;
    QLabel *m_toast = nullptr;
    QPointer<QMessageBox> m_confirmation;
    bool m_trayAvailable = false;
};
