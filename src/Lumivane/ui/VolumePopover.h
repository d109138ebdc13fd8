#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;

// The volume panel under the volume button: a slider, the percentage and Mute.
class VolumePopover final : public QWidget
{
    Q_OBJECT

public:
    explicit VolumePopover(QWidget *parent = nullptr);

    // Shows the session's volume without reporting it back.
    void setVolume(double volume);

    QSlider *slider() const { return m_slider; }
    QPushButton *muteButton() const { return m_mute; }
    QString percentText() const;

Q_SIGNALS:
    void volumeChosen(double volume);
    void muteRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QSlider *m_slider;
    QLabel *m_percent;
    QPushButton *m_mute;
};
