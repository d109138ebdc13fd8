#pragma once

#include "ui/SettingsPage.h"

class SettingsRow;

// The interface language, the local history switches, clearing history and web data, and
// where everything is kept.
class PrivacySettingsPage final : public SettingsPage
{
    Q_OBJECT

public:
    explicit PrivacySettingsPage(const SettingsContext &context, QWidget *parent = nullptr);

Q_SIGNALS:
    void webDataCleared();

private:
    void addLanguage();
    void addHistory();
    void addWebData();
    void addPromise();
    void showHistorySummary();
    void confirmClearHistory();
    void confirmClearWebData();

    SettingsRow *m_historyRow = nullptr;
    SettingsRow *m_webDataRow = nullptr;
};
