#pragma once

#include "ui/SegmentedControl.h"
#include "ui/SettingsContext.h"

#include <QList>
#include <QWidget>

class Preferences;
class QMessageBox;
class QVBoxLayout;
class SettingsCard;
class SettingsRow;
class ToggleSwitch;

// The body of one tab: cards of rows bound straight to the preferences, so that a change is
// stored and applied at once.
class SettingsPage : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsPage(const SettingsContext &context, QWidget *parent = nullptr);

protected:
    using Getter = bool (Preferences::*)() const;
    using Setter = void (Preferences::*)(bool);
    using Changed = void (Preferences::*)(bool);

    SettingsCard *addCard(const QString &title, const QString &subtitle = {});
    // A switch bound to a Boolean preference, named after its key.
    SettingsRow *addToggle(SettingsCard &card, const QString &key, const QString &title,
                           const QString &detail, Getter get, Setter set, Changed changed);
    SegmentedControl *segmented(const QString &name, const QList<SegmentedControl::Choice> &choices,
                                const QVariant &value);
    // A confirmation shown over the window; accepted() carries the destructive choice.
    QMessageBox *confirmation(const QString &title, const QString &message,
                              const QString &confirmText);
    void finish();

    const SettingsContext &context() const { return m_context; }
    Preferences &preferences() const { return m_context.preferences; }

private:
    SettingsContext m_context;
    QVBoxLayout *m_layout;
};
