#include "platform/CookieFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

namespace {

// Chromium stores times as microseconds since 1601-01-01 UTC.
qint64 chromiumNow()
{
    constexpr qint64 secondsFrom1601To1970 = 11644473600;
    return (QDateTime::currentSecsSinceEpoch() + secondsFrom1601To1970) * 1000000;
}

QList<CookieFile::Entry> query(QSqlDatabase &database)
{
    QList<CookieFile::Entry> entries;
    QSqlQuery query(database);
    query.prepare(QStringLiteral(
        "SELECT name, host_key, path, (length(value) > 0 OR length(encrypted_value) > 0) "
        "FROM cookies WHERE has_expires = 0 OR expires_utc > ?"));
    query.addBindValue(chromiumNow());
    if (!query.exec())
        return entries;
    while (query.next()) {
        entries.append({query.value(0).toString(), query.value(1).toString(),
                        query.value(2).toString(), query.value(3).toBool()});
    }
    return entries;
}

} // namespace

namespace CookieFile {

QList<Entry> read(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    const QString connection = QUuid::createUuid().toString();
    QList<Entry> entries;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        // immutable: SQLite takes no lock, so the engine is never kept from writing.
        database.setDatabaseName(QStringLiteral("file:%1?mode=ro&immutable=1")
                                     .arg(QString::fromUtf8(QUrl::toPercentEncoding(path, "/"))));
        database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        if (database.open())
            entries = query(database);
        database.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return entries;
}

} // namespace CookieFile
