#include "ui/HomeEmptyState.h"

#include "ui/HomeLook.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int symbolBox = 56;
constexpr int symbolSize = 26;
} // namespace

HomeEmptyState::HomeEmptyState(const QString &icon, const QString &title, const QString &text,
                               const QString &buttonText, QWidget *parent)
    : QWidget(parent)
    , m_icon(icon)
    , m_symbol(HomeLook::label(QString(), QStringLiteral("emptyIcon"), this))
{
    m_symbol->setFixedSize(symbolBox, symbolBox);
    m_symbol->setAlignment(Qt::AlignCenter);
    auto *heading = HomeLook::label(title, QStringLiteral("cardTitle"), this);
    auto *line = HomeLook::label(text, QStringLiteral("note"), this);
    heading->setAlignment(Qt::AlignCenter);
    line->setAlignment(Qt::AlignCenter);
    line->setMaximumWidth(420);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addStretch(2);
    layout->addWidget(m_symbol, 0, Qt::AlignHCenter);
    layout->addSpacing(4);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addWidget(line, 0, Qt::AlignHCenter);
    if (!buttonText.isEmpty()) {
        m_button = new QPushButton(buttonText, this);
        m_button->setProperty("shellRole", QStringLiteral("primary"));
        m_button->setCursor(Qt::PointingHandCursor);
        layout->addSpacing(6);
        layout->addWidget(m_button, 0, Qt::AlignHCenter);
        connect(m_button, &QPushButton::clicked, this, &HomeEmptyState::buttonClicked);
    }
    layout->addStretch(3);
}

void HomeEmptyState::setIconColor(const QColor &color)
{
    m_symbol->setPixmap(ShellLook::tintedIcon(m_icon, color, symbolSize).pixmap(symbolSize, symbolSize));
}
