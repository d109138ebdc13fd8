#pragma once

#include "ui/SettingsContext.h"
#include "ui/SettingsTab.h"
#include "ui/ShellLook.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QStackedWidget;
class QVBoxLayout;
class SettingsPage;
class SettingsSidebar;

// Every preference in six tabs: a sidebar and, per tab, a header above cards of rows that
// change the setting at once. Rebuilt in place when the language or the theme changes. The
// model's tab request selects a tab when the window shows and whenever it changes.
class SettingsWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindow(const SettingsContext &context, QWidget *parent = nullptr);
    ~SettingsWindow() override;

    SettingsTab tab() const { return m_tab; }
    void selectTab(SettingsTab tab);
    // The accounts tab's body, under its header. The window takes it over.
    void setAccountsPage(QWidget *page);
    void setHasTray(bool hasTray);
    // Shows, raises and focuses the window.
    void bringForward();

Q_SIGNALS:
    // The built-in web data was cleared from the privacy tab.
    void webDataCleared();
    // A shortcut recorder started or stopped listening.
    void recordingStarted();
    void recordingStopped();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Esc closes the window, as in the desktop's own settings dialogs.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void rebuild();
    QWidget *build();
    QWidget *tabBody(SettingsTab tab, QWidget *content);
    QWidget *header(SettingsTab tab);
    SettingsPage *page(SettingsTab tab);
    void ensureBuilt(SettingsTab tab);
    void applyTabRequest();
    // Global hot keys come back before the recorder goes out of sight.
    void stopRecording();

    SettingsContext m_context;
    SettingsTab m_tab = SettingsTab::appearance;
    ShellLook::Palette m_palette;
    QVBoxLayout *m_root;
    QWidget *m_body = nullptr;
    SettingsSidebar *m_sidebar = nullptr;
    QStackedWidget *m_stack = nullptr;
    std::array<bool, SettingsTabs::allCases.size()> m_built{};
    QVBoxLayout *m_accountsSlot = nullptr;
    QPointer<QWidget> m_accountsPage;
};
