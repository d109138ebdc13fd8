#pragma once

#include "KiteCore/KeyCombo.h"
#include "KiteCore/ShortcutAction.h"

#include <QPushButton>

class Preferences;

// The binding of one action, shown as the desktop writes it ("Ctrl+Alt+F"). Clicked, it
// listens for a new combination: Esc cancels, Backspace or Delete clears, a bare key or a
// combination another action uses is refused with a hint and listening goes on. Losing
// focus cancels. Application shortcuts stay quiet while it listens.
class ShortcutRecorderButton final : public QPushButton
{
    Q_OBJECT

public:
    ShortcutRecorderButton(ShortcutAction action, Preferences &preferences, QWidget *parent = nullptr);

    ShortcutAction action() const { return m_action; }
    bool isRecording() const { return m_recording; }
    void startRecording();
    void stopRecording();

Q_SIGNALS:
    void recordingStarted();
    void recordingStopped();
    // Why the last key was refused; empty when there is nothing to say.
    void hintChanged(const QString &hint);

protected:
    bool event(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void record(const QKeyEvent &key);
    void showHeld(const KeyCombo::ModifierSet &held);
    void showBinding();

    ShortcutAction m_action;
    Preferences &m_preferences;
    bool m_recording = false;
};
