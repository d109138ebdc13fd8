#include "ui/HomeEmptyState.h"

#include "ui/HomeLook.h"

#include <QGridLayout>
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
    auto *column = new QWidget(this);
    column->setFixedWidth(420);
    auto *heading = HomeLook::label(title, QStringLiteral("cardTitle"), column);
    auto *line = HomeLook::label(text, QStringLiteral("note"), column);
    heading->setAlignment(Qt::AlignCenter);
    line->setAlignment(Qt::AlignCenter);
    m_symbol->setParent(column);

    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(m_symbol, 0, Qt::AlignHCenter);
    layout->addSpacing(4);
    layout->addWidget(heading);
    layout->addWidget(line);
    if (!buttonText.isEmpty()) {
        m_button = new QPushButton(buttonText, column);
        m_button->setProperty("shellRole", QStringLiteral("primary"));
        m_button->setCursor(Qt::PointingHandCursor);
        layout->addSpacing(6);
        layout->addWidget(m_button, 0, Qt::AlignHCenter);
        connect(m_button, &QPushButton::clicked, this, &HomeEmptyState::buttonClicked);
    }
    auto *centre = new QGridLayout(this);
    centre->setRowStretch(0, 2);
    centre->setRowStretch(2, 3);
    centre->setColumnStretch(0, 1);
    centre->setColumnStretch(2, 1);
    centre->addWidget(column, 1, 1);
}

void HomeEmptyState::setIconColor(const QColor &color)
{
    m_symbol->setPixmap(ShellLook::tintedIcon(m_icon, color, symbolSize).pixmap(symbolSize, symbolSize));
}
