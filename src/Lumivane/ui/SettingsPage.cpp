#include "ui/SettingsPage.h"

#include "ui/SettingsCard.h"
#include "ui/SettingsRow.h"
#include "ui/ToggleSwitch.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

SettingsPage::SettingsPage(const SettingsContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(22);
}

SettingsCard *SettingsPage::addCard(const QString &title, const QString &subtitle)
{
    auto *card = new SettingsCard(title, subtitle, this);
    m_layout->addWidget(card);
    return card;
}

SettingsRow *SettingsPage::addToggle(SettingsCard &card, const QString &key, const QString &title,
                                     const QString &detail, Getter get, Setter set, Changed changed)
{
    Preferences &prefs = preferences();
    auto *control = new ToggleSwitch(this);
    control->setObjectName(key);
    control->setChecked((prefs.*get)());
    connect(control, &ToggleSwitch::toggled, &prefs, set);
    connect(&prefs, changed, control, &ToggleSwitch::setChecked);
    return card.addRow(new SettingsRow(title, detail, control, this));
}

SegmentedControl *SettingsPage::segmented(const QString &name,
                                          const QList<SegmentedControl::Choice> &choices,
                                          const QVariant &value)
{
    auto *control = new SegmentedControl(choices, value, this);
    control->setObjectName(name);
    return control;
}

QMessageBox *SettingsPage::confirmation(const QString &title, const QString &message,
                                        const QString &confirmText)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::NoButton, this);
    box->setInformativeText(message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    QPushButton *confirm = box->addButton(confirmText, QMessageBox::AcceptRole);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    box->setDefaultButton(box->addButton(L("取消", "Cancel", "Cancelar"), QMessageBox::RejectRole));
    box->open();
    return box;
}

void SettingsPage::finish()
{
    m_layout->addStretch(1);
}
