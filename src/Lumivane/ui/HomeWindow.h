#pragma once

#include "app/HomeSection.h"
#include "ui/ShellLook.h"

#include <QWidget>

class AppModel;
class DropOverlay;
class HistorySection;
class HomeSidebar;
class OpenSection;
class PlaylistSection;
class Preferences;
class QLabel;
class QMenuBar;
class QPushButton;
class QStackedWidget;
class ThumbnailLoader;
class WindowsSection;

// The start window: a sidebar of sections (Open, Recent, Favorites, Windows, Playlist), a
// header with Restore all windows, and the selected section. Files, folders, links and text
// dropped anywhere on it go to the model; Ctrl+V outside a text field fills the input.
class HomeWindow final : public QWidget
{
    Q_OBJECT

public:
    HomeWindow(AppModel &model, Preferences &preferences, ThumbnailLoader &thumbnails,
               QWidget *parent = nullptr);

    // Shows, raises and focuses the window.
    void bringForward();
    // The main menu along the top edge.
    void setMenuBar(QMenuBar *menuBar);
    // The window title and every text again, in the current language.
    void retranslate();
    // Texts that point at the tray name it only when there is one.
    void setTrayAvailable(bool available);

    HomeSidebar *sidebar() const { return m_sidebar; }
    OpenSection *openSection() const { return m_open; }
    HistorySection *recentSection() const { return m_recent; }
    HistorySection *favoritesSection() const { return m_favorites; }
    WindowsSection *windowsSection() const { return m_windows; }
    PlaylistSection *playlistSection() const { return m_playlist; }
    QLabel *storageWarningLabel() const { return m_storageWarning; }
    DropOverlay *dropOverlay() const { return m_dropOverlay; }

Q_SIGNALS:
    void settingsRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void build();
    QWidget *buildHeader(QWidget *parent);
    void applyLook();
    void showSection(HomeSection section);
    void showStorageWarning();
    void focusInputSoon();

    AppModel &m_model;
    Preferences &m_preferences;
    ThumbnailLoader &m_thumbnails;
    ShellLook::Palette m_palette;
    bool m_hasTray = false;
    QWidget *m_content = nullptr;
    HomeSidebar *m_sidebar = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_subtitle = nullptr;
    QPushButton *m_restoreAll = nullptr;
    QLabel *m_storageWarning = nullptr;
    QStackedWidget *m_sections = nullptr;
    OpenSection *m_open = nullptr;
    HistorySection *m_recent = nullptr;
    HistorySection *m_favorites = nullptr;
    WindowsSection *m_windows = nullptr;
    PlaylistSection *m_playlist = nullptr;
    DropOverlay *m_dropOverlay = nullptr;
};
