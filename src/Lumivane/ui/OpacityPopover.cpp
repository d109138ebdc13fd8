#include "ui/OpacityPopover.h"

#include "ui/DesignSystem.h"
#include "KiteCore/L10n.h"
#include "ui/OverlayRules.h"

#include "windows/FloatingPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int sliderMinimum = 25;
} // namespace

OpacityPopover::OpacityPopover(QWidget *parent)
    : QWidget(parent), m_slider(new QSlider(Qt::Horizontal, this))
{
    setObjectName(QStringLiteral("opacityPopover"));
    // Its whole panel stays usable in drag mode, not only the presets.
    FloatingPanel::markInteractive(*this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(6);
    // One row, so that the panel fits the smallest window under its top bar.
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    for (double preset : OverlayRules::opacityPresets) {
        auto *button = new QPushButton(OverlayRules::percentLabel(preset), this);
        button->setObjectName(QStringLiteral("overlayOptionButton"));
        button->setMinimumWidth(0);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, preset] { Q_EMIT opacityChosen(preset); });
        m_presets.append(button);
    }
    column->addLayout(row);

    column->addWidget(DesignSystem::caption(
        L("用滑块调节…", "Adjust with slider…", "Ajustar con el control…"), this));
    m_slider->setRange(sliderMinimum, 100);
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setAccessibleName(L("窗口透明度", "Window opacity", "Opacidad de la ventana"));
    column->addWidget(m_slider);
    connect(m_slider, &QSlider::valueChanged, this,
            [this](int value) { Q_EMIT opacityChosen(value / 100.0); });

    column->addWidget(DesignSystem::caption(
        L("最低保持 25%，窗口总能找得到。", "Kept at 25% minimum so you can always find it.",
          "Se mantiene al 25 % como mínimo para que siempre puedas encontrarla."),
        this));
    setFixedWidth(296);
}

void OpacityPopover::setOpacity(double opacity)
{
    const double shown = std::isfinite(opacity) ? opacity : 1.0;
    for (qsizetype i = 0; i < m_presets.size(); ++i)
        m_presets[i]->setChecked(std::abs(OverlayRules::opacityPresets[static_cast<size_t>(i)] - shown) < 0.005);
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(static_cast<int>(std::lround(shown * 100)));
}

void OpacityPopover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DesignSystem::paintPanel(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), true);
}

void OpacityPopover::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}
