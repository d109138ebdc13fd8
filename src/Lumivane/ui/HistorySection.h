#pragma once

#include "ui/ShellLook.h"

#include <QWidget>

class AppModel;
class HistoryListModel;
class HistoryRowDelegate;
class HomeEmptyState;
class QLabel;
class QListView;
class QMessageBox;
class QPushButton;
class QStackedWidget;
class ThumbnailLoader;

// Recent (every history entry, with Clear history behind a confirmation) or Favorites (the
// starred ones). Rows open, star and remove their entry, also from a context menu.
class HistorySection final : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { recent, favorites };

    HistorySection(Kind kind, AppModel &model, ThumbnailLoader &thumbnails, QWidget *parent = nullptr);

    void setLook(const ShellLook::Palette &palette);
    QListView *list() const { return m_list; }
    QPushButton *clearButton() const { return m_clear; }
    // The confirmation while it shows.
    QMessageBox *confirmation() const { return m_confirmation; }

private:
    QWidget *buildList();
    void refresh();
    void onButton(const QModelIndex &index, int button);
    void showContextMenu(const QPoint &position);
    void toggleFavorite(int row);
    void remove(int row);
    void confirmClear();

    Kind m_kind;
    AppModel &m_model;
    HistoryListModel *m_rows;
    HistoryRowDelegate *m_delegate;
    QStackedWidget *m_pages;
    HomeEmptyState *m_empty;
    QListView *m_list = nullptr;
    QPushButton *m_clear = nullptr;
    QMessageBox *m_confirmation = nullptr;
};
