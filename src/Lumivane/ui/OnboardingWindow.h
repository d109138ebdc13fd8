#pragma once

#include "ui/ShellLook.h"

#include <QPointer>
#include <QWidget>

class Preferences;
class QLabel;
class QPushButton;
class QStackedWidget;

// The first-run introduction, three short steps: what Lumivane does; how every window is
// got back (with or without a tray); the global shortcuts and their status. Finish is the
// only way out of the last step; the window has no close button.
class OnboardingWindow final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int stepCount = 3;

    explicit OnboardingWindow(Preferences &preferences, bool hasTray, QWidget *parent = nullptr);

    // Rebuilds every step in the current language and theme, staying on the current step.
    void rebuild();
    void setHasTray(bool hasTray);
    void showStep(int step);
    int step() const { return m_step; }

Q_SIGNALS:
    void finished();

private:
    QWidget *page(const QString &icon, const QString &heading, const QString &lead,
                  const QList<QWidget *> &cards);
    QWidget *card(const QString &icon, const QString &title, const QString &text);
    QWidget *shortcutCard(const QString &title, const QStringList &keys);
    QWidget *welcomeStep();
    QWidget *recoveryStep();
    QWidget *shortcutStep();
    QString restoreKeys() const;
    void showShortcutStatus(const QString &status);
    void updateDots();

    Preferences &m_preferences;
    bool m_hasTray;
    int m_step = 0;
    ShellLook::Palette m_palette;
    QStackedWidget *m_pages;
    QLabel *m_dots;
    QPushButton *m_back;
    QPushButton *m_next;
    QPointer<QLabel> m_shortcutStatus;
};
