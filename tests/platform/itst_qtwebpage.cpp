#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "TemporaryHome.h"
#include "webengine/QtWebPage.h"
#include "webengine/WebProfile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QWebEngineProfile>
#include <QtTest>

#include <csignal>

using namespace std::chrono_literals;
using Asked = QList<std::pair<QUrl, bool>>;

constexpr int waitMs = 20000;

// The script's answer; invalid when it threw or none came.
static QVariant answer(WebPage &page, const QString &script)
{
    std::optional<QVariant> result;
    page.runJavaScript(script, [&result](const QVariant &value) { result = value; });
    return QTest::qWaitFor([&result] { return result.has_value(); }, waitMs) ? *result : QVariant();
}

static bool loads(WebPage &page, const QUrl &url)
{
    QSignalSpy finished(&page, &WebPage::loadFinished);
    page.load(url, 20s);
    return finished.wait(waitMs);
}

class TestQtWebPage : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    // Stands in for the desktop's mail program, which must never be asked.
    void openByDesktop(const QUrl &url) { m_openedByDesktop.append(url); }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString &page : QDir(PAGES).entryList(QDir::Files))
            QVERIFY(QFile::copy(PAGES "/" + page, MediaGenerator::folder() + '/' + page));
        QVERIFY(QFile::copy(MediaGenerator::colourClip(Qt::blue, 4.0), MediaGenerator::folder() + "/clip.mp4"));
        m_server.addStalledPath("/stalled.html");
        QVERIFY(m_server.start());
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "openByDesktop");
    }

    // One end per navigation, with its cause (an HTTP error page is a page); the stop after
    // a time-out is not told again, and the page loads again.
    void failures()
    {
        QtWebPage page;
        QSignalSpy started(&page, &WebPage::loadStarted);
        QSignalSpy finished(&page, &WebPage::loadFinished);
        QSignalSpy failed(&page, &WebPage::loadFailed);
        const auto failure = [&failed] { return failed.isEmpty() ? PlatformError() : failed.last().at(0).value<PlatformError>(); };
        // The server listens on 127.0.0.1 only.
        page.load(QUrl(m_server.url("/").toString().replace("127.0.0.1", "127.0.0.2")), 20s);
        QTRY_COMPARE_WITH_TIMEOUT(std::pair(failure().domain, failure().code),
                                  std::pair(PlatformError::Domain::urlLoading, PlatformError::cannotConnectToHost), waitMs);
        page.load(m_server.url("/stalled.html"), 700ms);
        QTRY_COMPARE_WITH_TIMEOUT(failure().code, PlatformError::timedOut, waitMs);
        QVERIFY(loads(page, m_server.url("/missing.html")));
        QCOMPARE(answer(page, "document.body.innerText"), QVariant("not found"));
        QCOMPARE(std::tuple(started.size(), finished.size(), failed.size()), std::tuple(3, 1, 2));
        page.load(m_server.url("/stalled.html"), 20s);
        QTRY_COMPARE_WITH_TIMEOUT(m_server.requests().count("/stalled.html"), 2, waitMs);
        page.stopLoading();
        QTRY_COMPARE_WITH_TIMEOUT(failure().code, PlatformError::cancelled, waitMs);
    }

    // Every request of the main frame and of its sub-frames is put to the policy first.
    // Refused navigations never load and are never told; other schemes never reach the
    // desktop, allowed or not, in any frame; a new window is only asked for. A refused
    // address allowed later loads as usual. Unmuted video plays without a gesture.
    void policyKeepsThePageInside()
    {
        QtWebPage page;
        bool allow = true;
        Asked asked;
        page.setNavigationPolicy([&](const QUrl &url, bool main) { return asked.append({url, main}), allow; });
        QSignalSpy started(&page, &WebPage::loadStarted);
        QVERIFY(loads(page, m_server.url("/links.html")));
        QTRY_COMPARE_WITH_TIMEOUT(answer(page, "(v => !v.paused && !v.muted && v.currentTime > 0.3)(document.getElementById('v'))"),
                                  QVariant(true), waitMs);
        const QUrl one = m_server.url("/one.html");
        const QUrl two = m_server.url("/two.html");
        QCOMPARE(asked, (Asked{{m_server.url("/links.html"), true}, {one, false}, {two, false}}));
        QCOMPARE(std::tuple(started.size(), page.title(), page.url()), std::tuple(1, u"Links"_qs, m_server.url("/links.html")));
        started.clear();
        QSignalSpy failed(&page, &WebPage::loadFailed);
        QSignalSpy windows(&page, &WebPage::newWindowRequested);
        const auto windowsAndRequests = std::pair(QApplication::topLevelWidgets().size(), m_server.requests().count("/two.html"));
        // allowed, script, URL asked for, in the main frame, as a new window
        const QList<std::tuple<bool, QString, QUrl, bool, bool>> rows{
            {true, "document.getElementById('mail').click()", QUrl("mailto:a@example.org"), true, false},
            {false, "document.getElementById('same').click()", two, true, false},
            {false, "location.href = 'mailto:c@example.org'", QUrl("mailto:c@example.org"), true, false},
            {false, "document.querySelector('iframe').src = 'mailto:d@example.org'", QUrl("mailto:d@example.org"), false, false},
            {true, "document.getElementById('blank').click()", two, true, true},
            {true, "window.open('/two.html')", two, true, true},
            {true, "document.getElementById('mailblank').click()", QUrl("mailto:b@example.org"), true, true},
            {true, "window.open('mailto:e@example.org')", QUrl("mailto:e@example.org"), true, true}};
        for (const auto &[allowed, script, url, main, newWindow] : rows) {
            allow = allowed;
            windows.clear();
            page.runJavaScript(script);
            if (newWindow)
                QTRY_COMPARE_WITH_TIMEOUT(windows, (QList<QVariantList>{{url}}), waitMs);
            else
                QTRY_VERIFY2_WITH_TIMEOUT(asked.contains({url, main}), qPrintable(script), waitMs);
            QVERIFY(answer(page, "1").isValid());
        }
        QCOMPARE(std::tuple(started.size(), failed.size(), page.title()), std::tuple(0, 0, u"Links"_qs));
        QCOMPARE(std::pair(QApplication::topLevelWidgets().size(), m_server.requests().count("/two.html")), windowsAndRequests);
        QVERIFY2(m_openedByDesktop.isEmpty(), qPrintable(m_openedByDesktop.value(0).toString()));
        allow = true;
        page.runJavaScript("document.getElementById('same').click()");
        QTRY_COMPARE_WITH_TIMEOUT(page.title(), u"Two"_qs, waitMs);
        QCOMPARE(std::pair(started.size(), asked.last()), std::pair(1ll, std::pair(two, true)));
    }

    // The latest user scripts run at document creation and when ready, in the page's own
    // world, in the main frame only.
    void scripts()
    {
        QtWebPage page;
        page.setUserScripts({{"old", "window.__order = ['replaced'];", WebPage::Injection::documentCreation}});
        page.setUserScripts({{"early", "(window.__order = window.__order || []).push('creation');"
                                       "window.__primary = () => 1;", WebPage::Injection::documentCreation},
                             {"late", "window.__order.push('ready');", WebPage::Injection::documentReady}});
        QVERIFY(loads(page, m_server.url("/order.html")));
        QTRY_COMPARE_WITH_TIMEOUT(answer(page, "window.__order.join() + window.__seen"), QVariant("creation,page,readyfunction"), waitMs);
        const QString frame = "(f => f.contentDocument.readyState + typeof f.contentWindow.__primary)(document.querySelector('iframe'))";
        QTRY_COMPARE_WITH_TIMEOUT(answer(page, frame), QVariant("completeundefined"), waitMs);
        QCOMPARE(answer(page, "6 * 7"), QVariant(42.0));
    }

    // A killed renderer is told once and the page loads again; closing is no crash. The
    // view may go first; late answers of a page that went are dropped.
    void rendererAndTeardown()
    {
        auto page = std::make_unique<QtWebPage>();
        auto window = std::make_unique<QWidget>();
        page->view()->setParent(window.get());
        QSignalSpy terminated(page.get(), &WebPage::renderProcessTerminated);
        QVERIFY(loads(*page, m_server.url("/two.html")));
        const qint64 pid = page->renderProcessId();
        QVERIFY(pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(terminated.size(), 1, waitMs);
        QVERIFY(loads(*page, m_server.url("/one.html")) && page->renderProcessId() != pid);
        window.reset();
        QVERIFY(!page->view() && answer(*page, "document.title") == QVariant("One"));
        bool answered = false;
        page->runJavaScript("1", [&answered](const QVariant &) { answered = true; });
        page->takeSnapshot([&answered](const QImage &) { answered = true; });
        page.reset();
        QtWebPage later;
        QVERIFY(loads(later, m_server.url("/two.html")) && !answered);
        QCOMPARE(terminated.size(), 1);
    }

    // One persistent profile in the data folder, private to the owner; what pages store
    // outlives every page, but no web page reads local files. Compatibility mode drops the
    // engine's token from the agent.
    void profile()
    {
        QCOMPARE(WebProfile::compatibleUserAgent("A/5 (KHTML) QtWebEngine/6.4 Chrome/102"), u"A/5 (KHTML) Chrome/102"_qs);
        QCOMPARE(WebProfile::compatibleUserAgent("A/5 Chrome/102 QtWebEngine/6.4"), u"A/5 Chrome/102"_qs);
        auto page = std::make_unique<QtWebPage>();
        QVERIFY(loads(*page, m_server.url("/two.html")));
        QVERIFY(answer(*page, "localStorage.setItem('kept', 'y'); document.cookie = 'id=a; max-age=99'; 1").isValid());
        page = std::make_unique<QtWebPage>();
        QVERIFY(loads(*page, m_server.url("/snoop.html?file=" + QUrl::fromLocalFile(PAGES "/secret.html").toString())));
        QCOMPARE(answer(*page, "localStorage.getItem('kept') + document.cookie"), QVariant("yid=a"));
        QTRY_COMPARE_WITH_TIMEOUT(answer(*page, "window.__fetch"), QVariant("blocked"), waitMs);
        QCOMPARE(answer(*page, "String(window.__leak) + document.documentElement.outerHTML.includes('7781')"),
                 QVariant("undefinedfalse"));
        const auto profile = WebProfile::shared();
        const QString data = m_home.dataHome() + "/Lumivane/WebEngine";
        QVERIFY(!profile->isOffTheRecord() && profile->persistentCookiesPolicy() == QWebEngineProfile::ForcePersistentCookies);
        QCOMPARE(std::pair(profile->persistentStoragePath(), profile->cachePath()), std::pair(data + "/storage", data + "/cache"));
        // Everything for the owner, nothing for group and others.
        for (const QString &folder : {data, data + "/storage", data + "/cache"})
            QCOMPARE(QFileInfo(folder).permissions() & QFile::Permissions(0x7077), QFile::Permissions(0x7000));
    }

private:
    // Never freed: the engine writes its cache while it shuts down, after this object is gone.
    TemporaryHome &m_home = *new TemporaryHome;
    LocalHttpServer m_server{MediaGenerator::folder()};
    QList<QUrl> m_openedByDesktop;
};

QTEST_MAIN(TestQtWebPage)
#include "itst_qtwebpage.moc"
