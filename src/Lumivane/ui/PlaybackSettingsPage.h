#pragma once

#include "ui/SettingsPage.h"

class QComboBox;

// Who plays what is opened, what hiding and the web page scripts do, and which sites are
// known to work.
class PlaybackSettingsPage final : public SettingsPage
{
    Q_OBJECT

public:
    explicit PlaybackSettingsPage(const SettingsContext &context, QWidget *parent = nullptr);

private:
    void addRoute();
    QComboBox *externalPlayerPicker();
    void addHidingAndWeb();
    void addSiteSupport();
};
