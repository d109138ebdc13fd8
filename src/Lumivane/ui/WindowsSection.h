#pragma once

#include "ui/ShellLook.h"

#include <QList>
#include <QWidget>

class AppModel;
class HomeEmptyState;
class HomeSessionCard;
class QLabel;
class QStackedWidget;
class QVBoxLayout;

// The Windows section: how many windows play and hide, one card per open window, and the
// way back for hidden ones.
class WindowsSection final : public QWidget
{
    Q_OBJECT

public:
    explicit WindowsSection(AppModel &model, QWidget *parent = nullptr);

    void setLook(const ShellLook::Palette &palette);
    void setTrayAvailable(bool available);

private:
    QWidget *buildList();
    void rebuild();
    void refresh();

    AppModel &m_model;
    ShellLook::Palette m_palette;
    bool m_hasTray = false;
    QStackedWidget *m_pages;
    HomeEmptyState *m_empty;
    QLabel *m_playing = nullptr;
    QLabel *m_hidden = nullptr;
    QVBoxLayout *m_cards = nullptr;
    QList<HomeSessionCard *> m_cardList;
};
