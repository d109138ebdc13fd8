#pragma once

#include <QList>
#include <QString>

// The engine's persisted cookie database (SQLite "Cookies" in the profile's storage
// folder). The engine does not report the cookies it loads from there, so they are read
// here once, read-only and without locks, and the file is closed again at once.
namespace CookieFile {

struct Entry {
    QString name;
    QString domain;
    QString path;
    // Whether the cookie has a value; the value itself is never read.
    bool hasValue = false;
};

// The unexpired cookies of the file; empty when it is missing or cannot be read.
QList<Entry> read(const QString &path);

} // namespace CookieFile
