#pragma once

#include "ui/ShellLook.h"

#include <QFrame>
#include <QList>
#include <QPointer>

class AppCommands;
class AppModel;
class PanelWindowRow;
class PlaybackSession;
class Preferences;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The tray icon's panel: a popup near the cursor with the status of every floating window,
// quick actions (paste and open, open file), "Restore all", one row per window, and Settings
// and Quit. Built in the current language and theme each time it opens; while open it
// follows every change of the model and its sessions; a click elsewhere closes it.
class TrayPanel final : public QFrame
{
    Q_OBJECT

public:
    static constexpr QSize panelSize{330, 430};

    TrayPanel(AppModel &model, AppCommands &commands, Preferences &preferences,
              QWidget *parent = nullptr);

    // Opens near the cursor, or closes when open.
    void toggle(const QPoint &cursor);
    void popUp(const QPoint &cursor);

    QLabel *summaryLabel() const { return m_summary; }
    QList<PanelWindowRow *> rows() const { return m_rows; }

private:
    void build();
    QWidget *buildHeader(QWidget *parent);
    QWidget *buildQuickActions(QWidget *parent);
    QWidget *buildListHeader(QWidget *parent);
    QWidget *buildFooter(QWidget *parent);
    QPushButton *actionCard(const QString &icon, const QString &title, const QString &caption,
                            QWidget *parent);
    QWidget *emptyRow(QWidget *parent);
    QFrame *divider(QWidget *parent);
    void rebuildRows();
    void refresh();
    // Closes the panel, then runs the command: for everything that brings up a window.
    void closeThen(void (AppCommands::*command)());
    void showSession(PlaybackSession *session);

    AppModel &m_model;
    AppCommands &m_commands;
    Preferences &m_preferences;
    ShellLook::Palette m_palette;
    QPointer<QWidget> m_content;
    QLabel *m_summary = nullptr;
    QLabel *m_dot = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
    QList<PanelWindowRow *> m_rows;
    QPointer<QWidget> m_empty;
};
