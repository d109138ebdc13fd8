#include "ui/SegmentedControl.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

SegmentedControl::SegmentedControl(const QList<Choice> &choices, const QVariant &value,
                                   QWidget *parent)
    : QWidget(parent)
    , m_choices(choices)
    , m_group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("segmented"));
    setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    for (int i = 0; i < m_choices.size(); ++i) {
        auto *button = new QPushButton(m_choices.at(i).label, this);
        button->setCheckable(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setProperty("shellRole", QStringLiteral("segment"));
        m_group->addButton(button, i);
        layout->addWidget(button);
    }
    setValue(value);
    connect(m_group, &QButtonGroup::idClicked, this,
            [this](int id) { Q_EMIT chosen(m_choices.at(id).value); });
}

QVariant SegmentedControl::value() const
{
    const int id = m_group->checkedId();
    return id < 0 ? QVariant() : m_choices.at(id).value;
}

void SegmentedControl::setValue(const QVariant &value)
{
    // Exclusive groups refuse to uncheck their last button by hand.
    m_group->setExclusive(false);
    for (int i = 0; i < m_choices.size(); ++i)
        m_group->button(i)->setChecked(m_choices.at(i).value == value);
    m_group->setExclusive(true);
}

QPushButton *SegmentedControl::button(int index) const
{
    return qobject_cast<QPushButton *>(m_group->button(index));
}
