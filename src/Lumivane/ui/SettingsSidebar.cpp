#include "ui/SettingsSidebar.h"

#include "ui/ShellLook.h"

#include "KiteCore/L10n.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int sidebarWidth = 228;
} // namespace

SettingsSidebar::SettingsSidebar(const QColor &symbolColor, QWidget *parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("settingsSidebar"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedWidth(sidebarWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 20, 12, 16);
    layout->setSpacing(2);
    auto *heading = new QLabel(L("设置", "Settings", "Ajustes"), this);
    heading->setProperty("shellRole", QStringLiteral("heading"));
    heading->setContentsMargins(8, 0, 0, 12);
    layout->addWidget(heading);
    for (SettingsTab tab : SettingsTabs::allCases) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("tab-") + toRaw(tab));
        button->setProperty("shellRole", QStringLiteral("tab"));
        // "&" would mark a mnemonic.
        button->setText(SettingsTabs::title(tab).replace(u'&', QStringLiteral("&&")));
        button->setAccessibleName(SettingsTabs::title(tab));
        button->setIcon(ShellLook::tintedIcon(SettingsTabs::iconName(tab), symbolColor, 16));
        button->setIconSize(QSize(16, 16));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setCheckable(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::StrongFocus);
        m_group->addButton(button, int(tab));
        layout->addWidget(button);
    }
    layout->addStretch(1);
    auto *footer = new QLabel(L("本地优先 · 零遥测", "Local-first · zero telemetry",
                                "Local · sin telemetría"),
                              this);
    footer->setProperty("shellRole", QStringLiteral("secondary"));
    footer->setContentsMargins(8, 0, 0, 0);
    layout->addWidget(footer);
    connect(m_group, &QButtonGroup::idClicked, this,
            [this](int id) { Q_EMIT tabChosen(SettingsTab(id)); });
}

void SettingsSidebar::select(SettingsTab tab)
{
    m_group->button(int(tab))->setChecked(true);
}

void SettingsSidebar::keyPressEvent(QKeyEvent *event)
{
    const int step = event->key() == Qt::Key_Down ? 1 : event->key() == Qt::Key_Up ? -1 : 0;
    if (step == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int count = int(SettingsTabs::allCases.size());
    const int next = (m_group->checkedId() + step + count) % count;
    m_group->button(next)->setFocus(Qt::TabFocusReason);
    m_group->button(next)->click();
}
