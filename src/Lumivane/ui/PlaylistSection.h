#pragma once

#include "ui/ShellLook.h"

#include <QWidget>

class AppModel;
class HomeEmptyState;
class PlaylistListModel;
class PlaylistRowDelegate;
class QLabel;
class QListView;
class QPushButton;
class QStackedWidget;

// The Playlist section: the count with Add files, Add folder and Clear, then the entries in
// order (the playing one marked) or how to fill an empty list.
class PlaylistSection final : public QWidget
{
    Q_OBJECT

public:
    explicit PlaylistSection(AppModel &model, QWidget *parent = nullptr);

    void setLook(const ShellLook::Palette &palette);
    QListView *list() const { return m_list; }
    QPushButton *clearButton() const { return m_clear; }

private:
    QWidget *buildHeader();
    QWidget *buildList();
    void refresh();
    void onButton(const QModelIndex &index, int button);

    AppModel &m_model;
    PlaylistListModel *m_rows;
    PlaylistRowDelegate *m_delegate;
    QLabel *m_count = nullptr;
    QPushButton *m_clear = nullptr;
    QList<QPair<QPushButton *, QString>> m_iconButtons;
    QStackedWidget *m_pages;
    HomeEmptyState *m_empty;
    QListView *m_list = nullptr;
};
