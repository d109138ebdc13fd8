#pragma once

#include <QList>
#include <QWidget>

class QPushButton;
class QSlider;

// Window opacity: the seven presets, a slider for any value and a note about the floor.
class OpacityPopover final : public QWidget
{
    Q_OBJECT

public:
    explicit OpacityPopover(QWidget *parent = nullptr);

    // Shows the session's opacity without reporting it back.
    void setOpacity(double opacity);

    const QList<QPushButton *> &presetButtons() const { return m_presets; }
    QSlider *slider() const { return m_slider; }

Q_SIGNALS:
    void opacityChosen(double opacity);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QList<QPushButton *> m_presets;
    QSlider *m_slider;
};
