#pragma once

#include "KiteCore/AccountSite.h"

#include <QWidget>

class AccountService;
class Preferences;
class QFrame;
class QVBoxLayout;

// The body of the settings window's Accounts tab: one card per site with its state and
// actions, the Google hint and the notes. It reads the state again each time it is shown.
class AccountsPage final : public QWidget
{
    Q_OBJECT

public:
    AccountsPage(AccountService &service, Preferences &preferences, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();
    QFrame *siteCard(AccountSite site);
    QFrame *notesCard();
    void confirmSignOut(AccountSite site);

    AccountService &m_service;
    Preferences &m_preferences;
    QWidget *m_content = nullptr;
    QVBoxLayout *m_contentLayout = nullptr;
};
