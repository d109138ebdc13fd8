#pragma once

#include "ui/SettingsPage.h"

// The brand, what Lumivane is for, how it is built and where its data lives.
class AboutSettingsPage final : public SettingsPage
{
    Q_OBJECT

public:
    explicit AboutSettingsPage(const SettingsContext &context, QWidget *parent = nullptr);

private:
    QWidget *brand();
    void addAudience();
    void addIndependence();
};
