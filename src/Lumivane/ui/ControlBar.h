#pragma once

#include <QPixmap>
#include <QWidget>

// A rounded, dark translucent strip that holds overlay controls above the video.
class ControlBar final : public QWidget
{
    Q_OBJECT

public:
    explicit ControlBar(QWidget *parent = nullptr);

Q_SIGNALS:
    // A press on the bar itself (not on one of its controls); the window may start a drag.
    void backgroundPressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPixmap m_background;
};
