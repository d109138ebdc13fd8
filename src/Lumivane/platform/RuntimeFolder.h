#pragma once

#include <QString>
#include <QStringList>

#include <expected>

// The folder that holds this user's single-instance lock and socket. Another local user must
// not be able to create it first (and so receive our arguments) or change what is inside.
namespace RuntimeFolder {

// Where the folder may live, best first: below $XDG_RUNTIME_DIR, in the temporary folder,
// in the user's cache folder (for when another user holds the temporary folder's name).
QStringList candidates();

// The folder, created when missing, when it is a real folder (no link) owned by this user
// and closed to everyone else; otherwise why not.
std::expected<QString, QString> claim(const QString &path);

// The first candidate that can be claimed; otherwise every reason, one per line.
std::expected<QString, QString> first(const QStringList &paths);

} // namespace RuntimeFolder
