#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How pages of one catalogue site are reshaped: its page scripts and the selector naming
// its main media element.
struct SiteAdapter final {
    QString siteID;
    QStringList scripts;
    std::optional<QString> primaryMediaSelector;
};
