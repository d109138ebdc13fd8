#include "ui/SettingsRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

SettingsRow::SettingsRow(const QString &title, const QString &detail, QWidget *control,
                         QWidget *parent)
    : QWidget(parent)
    , m_detail(new QLabel(detail, this))
    , m_note(new QLabel(this))
{
    auto *text = new QVBoxLayout();
    text->setSpacing(2);
    if (!title.isEmpty()) {
        auto *heading = new QLabel(title, this);
        heading->setProperty("shellRole", QStringLiteral("rowTitle"));
        heading->setWordWrap(true);
        text->addWidget(heading);
    }
    m_detail->setProperty("shellRole", QStringLiteral("secondary"));
    m_detail->setWordWrap(true);
    m_detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detail->setVisible(!detail.isEmpty());
    m_note->setProperty("shellRole", QStringLiteral("note"));
    m_note->setWordWrap(true);
    m_note->hide();
    text->addWidget(m_detail);
    text->addWidget(m_note);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(16);
    layout->addLayout(text, 1);
    if (control != nullptr) {
        control->setParent(this);
        if (control->accessibleName().isEmpty())
            control->setAccessibleName(title);
        layout->addWidget(control, 0, Qt::AlignVCenter);
    }
}

void SettingsRow::setNote(const QString &text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}
