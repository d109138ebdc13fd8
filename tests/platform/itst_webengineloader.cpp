#include "TemporaryHome.h"
#include "platform/DeferredSiteDataStore.h"
#include "platform/WebEngine.h"
#include "platform/WebEngineLoader.h"
#include "platform/WebStorage.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace std::chrono_literals;

class TestWebEngineLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The module is looked for in each folder in turn; without it every page fails with the
    // reason, and with it pages load.
    void findsTheModule()
    {
        struct Row {
            const char *name;
            QStringList folders;
            bool loaded;
        };
        QTemporaryDir empty;
        QTemporaryDir broken;
        QFile notALibrary(broken.filePath(WebEngineLoader::moduleFileName()));
        QVERIFY(notALibrary.open(QIODevice::WriteOnly) && notALibrary.write("not a library") > 0);
        notALibrary.close();
        const QList<Row> rows{
            {"missing", {empty.path()}, false},
            {"not a module", {broken.path()}, false},
            {"second folder", {empty.path(), WEBENGINE_MODULE_DIR}, true},
        };
        for (const Row &row : rows) {
            WebEngineLoader loader(row.folders);
            QSignalSpy loaded(&loader, &WebEngineLoader::loaded);
            const std::unique_ptr<WebPage> page = loader.createPage();
            QCOMPARE(loader.isLoaded(), row.loaded);
            QCOMPARE(loaded.size(), row.loaded ? 1 : 0);
            QCOMPARE(loader.problem().isEmpty(), row.loaded);
            QVERIFY(page->view());
            QSignalSpy finished(page.get(), &WebPage::loadFinished);
            QSignalSpy failed(page.get(), &WebPage::loadFailed);
            page->load(QUrl("data:text/html,<title>t</title>"), 20s);
            QTRY_COMPARE_WITH_TIMEOUT(finished.size() + failed.size(), 1, 20000);
            QCOMPARE(finished.size(), row.loaded ? 1 : 0);
            if (!row.loaded)
                QCOMPARE(failed.first().first().value<PlatformError>().code, PlatformError::webEngineUnavailable);
        }
    }

    // The signed-in state comes from the cookie file without loading the engine (unless a
    // reset empties it first); changing it asks for the engine.
    void signedInStateFromDisk()
    {
        struct Row {
            bool resetPending;
            qsizetype cookies;
        };
        for (const Row &row : QList<Row>{{false, 1}, {true, 0}}) {
            TemporaryHome home;
            QVERIFY(QDir().mkpath(WebStorage::storageFolder()));
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "write");
                db.setDatabaseName(WebStorage::cookieFile());
                QVERIFY(db.open());
                QSqlQuery query(db);
                QVERIFY(query.exec("CREATE TABLE cookies (host_key TEXT, name TEXT, value TEXT, encrypted_value BLOB, "
                                   "path TEXT, expires_utc INTEGER, has_expires INTEGER)"));
                QVERIFY(query.exec("INSERT INTO cookies VALUES ('.google.com', 'SID', 'v', '', '/', 0, 0)"));
            }
            QSqlDatabase::removeDatabase("write");
            if (row.resetPending)
                WebStorage::resetAtNextStart();
            QTemporaryDir noModule;
            WebEngineLoader loader({noModule.path()});
            DeferredSiteDataStore store(loader);
            QCOMPARE(store.cookies().size(), row.cookies);
            QVERIFY(loader.problem().isEmpty());
            if (row.cookies > 0) {
                QCOMPARE(store.cookies().first().value, u"set"_qs);
                store.deleteCookie(store.cookies().first());
                QVERIFY(!loader.problem().isEmpty());
            }
        }
    }
};

QTEST_MAIN(TestWebEngineLoader)
#include "itst_webengineloader.moc"
