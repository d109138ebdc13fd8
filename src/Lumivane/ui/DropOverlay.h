#pragma once

#include "ui/ShellLook.h"

#include <QWidget>

// Covers the home window while something is dragged over it: "Drop to open" in a dashed
// frame. It lets every event through to the window below.
class DropOverlay final : public QWidget
{
    Q_OBJECT

public:
    explicit DropOverlay(QWidget *parent);

    void setLook(const ShellLook::Palette &palette);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ShellLook::Palette m_palette;
};
