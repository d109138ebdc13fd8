#include "platform/CookieFile.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// Microseconds since 1601, as the engine writes them.
static qint64 chromiumTime(qint64 secondsFromNow)
{
    return (QDateTime::currentSecsSinceEpoch() + secondsFromNow + 11644473600LL) * 1000000;
}

class TestCookieFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Unexpired cookies only; a value in either column counts, and neither is read.
    void readsTheEnginesFile()
    {
        struct Row {
            const char *name;
            QByteArray value;
            QByteArray encrypted;
            bool hasExpires;
            qint64 expiresIn;
            bool listed;
        };
        const QList<Row> rows{
            {"plain", "v", "", true, 3600, true},
            {"encrypted", "", "v10x", true, 3600, true},
            {"empty", "", "", true, 3600, true},
            {"session", "v", "", false, -3600, true},
            {"expired", "v", "", true, -3600, false},
        };
        QTemporaryDir folder;
        const QString path = folder.filePath("Cookies");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "write");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("CREATE TABLE cookies (host_key TEXT, name TEXT, value TEXT, "
                               "encrypted_value BLOB, path TEXT, expires_utc INTEGER, has_expires INTEGER)"));
            for (const Row &row : rows) {
                query.prepare("INSERT INTO cookies VALUES ('.example.org', ?, ?, ?, '/', ?, ?)");
                for (const QVariant &value : {QVariant(row.name), QVariant(QString::fromLatin1(row.value)),
                                              QVariant(row.encrypted), QVariant(chromiumTime(row.expiresIn)),
                                              QVariant(row.hasExpires)})
                    query.addBindValue(value);
                QVERIFY(query.exec());
            }
        }
        QSqlDatabase::removeDatabase("write");

        QMap<QString, bool> read;
        for (const CookieFile::Entry &entry : CookieFile::read(path))
            read.insert(entry.name, entry.hasValue);
        for (const Row &row : rows) {
            QCOMPARE(read.contains(row.name), row.listed);
            if (row.listed)
                QCOMPARE(read.value(row.name), !row.value.isEmpty() || !row.encrypted.isEmpty());
        }
        QVERIFY(QSqlDatabase::connectionNames().isEmpty());
        QVERIFY(CookieFile::read(folder.filePath("missing")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCookieFile)
#include "tst_cookiefile.moc"
