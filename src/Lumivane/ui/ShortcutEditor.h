#pragma once

#include <QList>
#include <QWidget>

class Preferences;
class ShortcutRecorderButton;

// One recorder button per bindable action, under the group titles in action order.
class ShortcutEditor final : public QWidget
{
    Q_OBJECT

public:
    explicit ShortcutEditor(Preferences &preferences, QWidget *parent = nullptr);

    const QList<ShortcutRecorderButton *> &recorders() const { return m_recorders; }

Q_SIGNALS:
    void recordingStarted();
    void recordingStopped();

private:
    QWidget *actionRow(ShortcutRecorderButton *recorder);

    QList<ShortcutRecorderButton *> m_recorders;
};
