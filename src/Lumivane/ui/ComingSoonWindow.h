#pragma once

#include <QWidget>

// Stands in for a window that a later version fills (settings, onboarding): its title and
// one line saying so, with a Close button.
class ComingSoonWindow final : public QWidget
{
    Q_OBJECT

public:
    ComingSoonWindow(const QString &title, const QString &text, QWidget *parent = nullptr);

    // Shows, raises and focuses the window.
    void bringForward();
};
