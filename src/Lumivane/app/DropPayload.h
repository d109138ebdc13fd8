#pragma once

#include <QString>
#include <QUrl>

class QMimeData;

// What a drop on the home window asks for. Decided from the dragged data alone, so the drag
// can be accepted or refused while it hovers; the model then carries it out.
struct DropPayload final
{
    enum class Action {
        refused,   // nothing usable: the drop is not accepted
        addFolder, // an existing folder: its media go into the playlist
        open,      // show input in the open field, then open openText
    };

    Action action = Action::refused;
    QUrl folder;
    QString input;
    QString openText;

    // Tries, in this order: the first local file URL, the first other URL, the text.
    // Only the first kind found counts; the rest of the data is ignored.
    static DropPayload decide(const QMimeData &data);

    bool operator==(const DropPayload &other) const = default;
};
