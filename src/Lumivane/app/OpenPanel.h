#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// What an Open dialog asks for. The model describes the dialog; run() shows it, and tests
// replace run() with a function that answers at once.
struct OpenPanel final
{
    QString title;
    bool allowsMultipleSelection = false;
    bool choosesFolders = false;

    // "Video and audio (*.mp4 *.m4v …)" for the playable file types, then all files.
    static QStringList mediaNameFilters();

    // Modal file dialog; the chosen URLs, empty on cancel.
    static QList<QUrl> run(const OpenPanel &panel);
};
