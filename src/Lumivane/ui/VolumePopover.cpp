#include "ui/VolumePopover.h"

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

#include <cmath>

VolumePopover::VolumePopover(QWidget *parent)
    : QWidget(parent),
      m_slider(new QSlider(Qt::Horizontal, this)),
      m_percent(new QLabel(this)),
      m_mute(DesignSystem::pillButton(L("静音", "Mute", "Silenciar"), false, this))
{
    setObjectName(QStringLiteral("volumePopover"));
    // Its whole panel stays usable in drag mode, not only the slider.
    FloatingPanel::markInteractive(*this);
    setAttribute(Qt::WA_StyledBackground, false);
    m_slider->setRange(0, 100);
    m_slider->setFixedWidth(130);
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setAccessibleName(L("音量", "Volume", "Volumen"));
    m_percent->setObjectName(QStringLiteral("overlayTime"));
    m_percent->setMinimumWidth(34);
    m_percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 10, 12, 10);
    row->setSpacing(DesignSystem::spacing);
    row->addWidget(m_slider);
    row->addWidget(m_percent);
    row->addWidget(m_mute);

    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_percent->setText(OverlayRules::percentLabel(value / 100.0));
        Q_EMIT volumeChosen(value / 100.0);
    });
    connect(m_mute, &QPushButton::clicked, this, &VolumePopover::muteRequested);
    setVolume(0);
}

void VolumePopover::setVolume(double volume)
{
    const double shown = std::isfinite(volume) ? volume : 0.0;
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(static_cast<int>(std::lround(shown * 100)));
    m_percent->setText(OverlayRules::percentLabel(shown));
}

QString VolumePopover::percentText() const
{
    return m_percent->text();
}

void VolumePopover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DesignSystem::paintPanel(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), true);
}

void VolumePopover::mousePressEvent(QMouseEvent *event)
{
    // Clicks on the panel's own background must not reach the video below.
    event->accept();
}
