#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QWidget>

class QButtonGroup;
class QPushButton;

// A row of exclusive choices, each with a label and the value it stands for. A value that
// matches no choice leaves every choice unselected.
class SegmentedControl final : public QWidget
{
    Q_OBJECT

public:
    struct Choice {
        QString label;
        QVariant value;
    };

    SegmentedControl(const QList<Choice> &choices, const QVariant &value, QWidget *parent = nullptr);

    QVariant value() const;
    void setValue(const QVariant &value);
    // The button of a choice, by position.
    QPushButton *button(int index) const;

Q_SIGNALS:
    // Only for the user's choice, not for setValue().
    void chosen(const QVariant &value);

private:
    QList<Choice> m_choices;
    QButtonGroup *m_group;
};
