#pragma once

#include "ui/SettingsPage.h"

class QLabel;
class ShortcutEditor;

// Window defaults, the global shortcuts with their recorder, the in-app shortcuts and the
// ways back to every window.
class ShortcutSettingsPage final : public SettingsPage
{
    Q_OBJECT

public:
    explicit ShortcutSettingsPage(const SettingsContext &context, QWidget *parent = nullptr);

    ShortcutEditor *editor() const { return m_editor; }

Q_SIGNALS:
    void recordingStarted();
    void recordingStopped();

private:
    void addWindowDefaults();
    void addGlobalShortcuts();
    void addInAppShortcuts();
    void addWayBack();
    QWidget *keyCap(const QString &keys);
    QString toggleAllKeys() const;

    ShortcutEditor *m_editor = nullptr;
};
