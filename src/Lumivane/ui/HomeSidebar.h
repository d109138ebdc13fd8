#pragma once

#include "app/HomeSection.h"
#include "ui/ShellLook.h"

#include <QFrame>
#include <QMap>

class AppModel;
class HomeNavButton;
class QLabel;
class QToolButton;

// The home window's left column: the mark with "Lumivane" and "Floating player", one entry
// per section with its count, and a footer with the settings button.
class HomeSidebar final : public QFrame
{
    Q_OBJECT

public:
    explicit HomeSidebar(AppModel &model, QWidget *parent = nullptr);

    void setLook(const ShellLook::Palette &palette);
    HomeNavButton *button(HomeSection section) const { return m_buttons.value(section); }
    QToolButton *settingsButton() const { return m_settings; }

Q_SIGNALS:
    void settingsRequested();

private:
    QWidget *buildBrand();
    QWidget *buildFooter();
    void refreshBadges();
    void select(HomeSection section);

    AppModel &m_model;
    QMap<HomeSection, HomeNavButton *> m_buttons;
    QToolButton *m_settings = nullptr;
};
