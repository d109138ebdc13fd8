#pragma once

#include <QFrame>

class QVBoxLayout;
class SettingsRow;

// A titled group of rows with a line between them.
class SettingsCard final : public QFrame
{
    Q_OBJECT

public:
    SettingsCard(const QString &title, const QString &subtitle, QWidget *parent = nullptr);

    SettingsRow *addRow(SettingsRow *row);
    // Anything else that spans the card (the shortcut editor).
    void addWidget(QWidget *widget);

private:
    void addDivider();

    QVBoxLayout *m_rows;
};
