#include "ui/SettingsCard.h"

#include "ui/SettingsRow.h"

#include <QLabel>
#include <QVBoxLayout>

SettingsCard::SettingsCard(const QString &title, const QString &subtitle, QWidget *parent)
    : QFrame(parent)
    , m_rows(new QVBoxLayout())
{
    auto *frame = new QFrame(this);
    frame->setProperty("shellRole", QStringLiteral("card"));
    frame->setLayout(m_rows);
    m_rows->setContentsMargins(0, 4, 0, 4);
    m_rows->setSpacing(0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto *heading = new QLabel(title, this);
    heading->setProperty("shellRole", QStringLiteral("cardTitle"));
    layout->addWidget(heading);
    if (!subtitle.isEmpty()) {
        auto *lead = new QLabel(subtitle, this);
        lead->setProperty("shellRole", QStringLiteral("secondary"));
        lead->setWordWrap(true);
        layout->addWidget(lead);
    }
    layout->addSpacing(4);
    layout->addWidget(frame);
}

SettingsRow *SettingsCard::addRow(SettingsRow *row)
{
    addWidget(row);
    return row;
}

void SettingsCard::addWidget(QWidget *widget)
{
    if (m_rows->count() > 0)
        addDivider();
    m_rows->addWidget(widget);
}

void SettingsCard::addDivider()
{
    auto *line = new QFrame(this);
    line->setProperty("shellRole", QStringLiteral("divider"));
    auto *inset = new QHBoxLayout();
    inset->setContentsMargins(14, 0, 14, 0);
    inset->addWidget(line);
    m_rows->addLayout(inset);
}
