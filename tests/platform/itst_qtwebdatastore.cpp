#include "TemporaryHome.h"
#include "platform/WebStorage.h"
#include "webengine/QtWebDataStore.h"
#include "webengine/WebProfile.h"

#include <QDir>
#include <QNetworkCookie>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

class TestQtWebDataStore final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Cookies go at once; site storage goes before the profile opens it the next time.
    void clearsTheProfile()
    {
        TemporaryHome home;
        QVERIFY(QDir().mkpath(WebStorage::storageFolder() + u"/Local Storage"_qs));
        WebStorage::resetAtNextStart();
        const std::shared_ptr<QWebEngineProfile> profile = WebProfile::shared();
        QVERIFY(!QFile::exists(WebStorage::storageFolder() + u"/Local Storage"_qs));

        // The store comes to life with the profile's first page.
        QWebEnginePage page(profile.get());
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.setHtml(u"<p>web data</p>"_qs);
        QVERIFY(loaded.wait(20000));
        QWebEngineCookieStore &cookies = *profile->cookieStore();
        QSignalSpy added(&cookies, &QWebEngineCookieStore::cookieAdded);
        QSignalSpy removed(&cookies, &QWebEngineCookieStore::cookieRemoved);
        QNetworkCookie cookie("SID", "signed-in");
        cookie.setDomain(u"video.example"_qs);
        cookie.setPath(u"/"_qs);
        cookies.setCookie(cookie, QUrl(u"https://video.example/"_qs));
        QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, 10000);

        QtWebDataStore store([profile] { return profile; });
        QSignalSpy cleared(&store, &WebDataStore::cleared);
        store.clearAll();
        QTRY_COMPARE_WITH_TIMEOUT(removed.count(), 1, 10000);
        QCOMPARE(removed.first().first().value<QNetworkCookie>().name(), QByteArray("SID"));
        QCOMPARE(cleared.count(), 1);
    }
};

QTEST_MAIN(TestQtWebDataStore)
#include "itst_qtwebdatastore.moc"
