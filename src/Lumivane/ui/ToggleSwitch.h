#pragma once

#include <QAbstractButton>
#include <QColor>

// An on/off switch in the overlay's accent colour. Space toggles it when it has focus.
class ToggleSwitch final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ToggleSwitch(QWidget *parent = nullptr);

    // The track's colour when off, taken from the surface it sits on.
    void setOffColor(const QColor &color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_offColor{128, 128, 128, 90};
};
