#pragma once

#include "ui/SettingsPage.h"

// Theme and the starting behaviour of new floating windows.
class AppearanceSettingsPage final : public SettingsPage
{
    Q_OBJECT

public:
    explicit AppearanceSettingsPage(const SettingsContext &context, QWidget *parent = nullptr);

private:
    void addAppearance();
    void addWindows();
};
