#pragma once

#include "ui/SettingsTab.h"

#include <QColor>
#include <QWidget>

class QButtonGroup;

// The settings heading, one button per tab and the footer. Up and Down move between tabs.
class SettingsSidebar final : public QWidget
{
    Q_OBJECT

public:
    // Tab symbols are drawn in symbolColor.
    explicit SettingsSidebar(const QColor &symbolColor, QWidget *parent = nullptr);

    void select(SettingsTab tab);

Q_SIGNALS:
    void tabChosen(SettingsTab tab);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QButtonGroup *m_group;
};
