#pragma once

#include <QWidget>

// The playback position track. While the user drags it, progress from the player does not
// move it; the one seek happens when the drag ends. A drag cut short because the track was
// disabled or hidden ends without a seek.
class ScrubberBar final : public QWidget
{
    Q_OBJECT

public:
    explicit ScrubberBar(QWidget *parent = nullptr);

    // Progress from the session; ignored for the position while a drag is going on.
    void setProgress(double elapsed, double duration);

    bool scrubbing() const { return m_scrubbing; }
    double value() const { return m_value; }
    double duration() const { return m_duration; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void scrubbingChanged(bool scrubbing);
    // The position while dragging, for the time label.
    void valueChanged(double seconds);
    void seekRequested(double seconds);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QRectF trackRect() const;
    double fractionAt(double x) const;
    void dragTo(double x);
    // The release will never come: whoever waits for the drag's end must not wait forever.
    void cancelDrag();

    double m_value = 0;
    double m_duration = 0;
    bool m_scrubbing = false;
};
