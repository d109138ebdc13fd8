#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "platform/QtWebPage.h"
#include "platform/WebProfile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>
#include <QWidget>

#include <csignal>
#include <cstdlib>
#include <memory>

using namespace std::chrono_literals;

namespace {

constexpr auto loadTimeout = 20s;
constexpr int waitMs = 20000;

struct PolicyCall {
    QUrl url;
    bool isMainFrame = false;
};

// Stands in for the desktop's mail program; it must never be asked.
class DesktopHandler : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

bool waitForLoad(QtWebPage &page, const QUrl &url)
{
    QSignalSpy finished(&page, &WebPage::loadFinished);
    page.load(url, loadTimeout);
    return finished.wait(waitMs);
}

std::optional<QVariant> evaluate(QtWebPage &page, const QString &script)
{
    std::optional<QVariant> result;
    page.runJavaScript(script, [&result](const QVariant &value) { result = value; });
    if (!QTest::qWaitFor([&result] { return result.has_value(); }, waitMs))
        return std::nullopt;
    return result;
}

// The answer, invalid when there was none.
QVariant answer(QtWebPage &page, const QString &script)
{
    return evaluate(page, script).value_or(QVariant());
}

// Evaluates script until it yields expected (page effects that land some time later).
bool evaluatesTo(QtWebPage &page, const QString &script, const QVariant &expected)
{
    return QTest::qWaitFor([&] { return answer(page, script) == expected; }, waitMs);
}

QUrl closedPortUrl()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return {};
    const quint16 port = server.serverPort();
    server.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/page.html").arg(port));
}

QString &homeToRemove()
{
    static QString path;
    return path;
}

QByteArray html(const QByteArray &title, const QByteArray &body)
{
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + body
        + "</body></html>";
}

} // namespace

class TestQtWebPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // The engine writes its cache while it shuts down, after this object is gone.
        m_home.setAutoRemove(false);
        homeToRemove() = m_home.path();
        std::atexit([] { QDir(homeToRemove()).removeRecursively(); });
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("LUMIVANE_TEST_MODE", "1");
        QFile secret(m_home.filePath("secret.html"));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("<script>parent.postMessage('leaked:' + document.body.innerText, '*')</script>"
                     "<body>top-secret-7781</body>");
        secret.close();

        QVERIFY(m_server.start());
        m_server.addPage("/one.html", html("One", "<p>one</p>"));
        m_server.addPage("/two.html", html("Two", "<p>two</p>"));
        m_server.addPage("/red.html", "<!doctype html><html><body style='margin:0;background:#ff0000'>"
                                      "</body></html>");
        m_server.addPage("/links.html", html("Links",
            "<a id='same' href='/two.html'>two</a>"
            "<a id='blank' href='/two.html' target='_blank'>new</a>"
            "<a id='mail' href='mailto:someone@example.org'>mail</a>"
            "<a id='mailblank' href='mailto:blank@example.org' target='_blank'>mail</a>"));
        m_server.addPage("/framed.html", html("Framed", "<iframe src='/one.html'></iframe>"));
        m_server.addPage("/mailframe.html",
                         html("Mail frame", "<iframe src='mailto:frame@example.org'></iframe>"));
        m_server.addPage("/order.html", html("Order",
            "<script>(window.__order = window.__order || []).push('page');"
            "window.__seenByPage = typeof window.__lumivanePrimaryMedia;</script>"
            "<iframe src='/one.html'></iframe>"));
        m_server.addStalledPath("/stalled.html");
        m_server.addStalledPath("/stalled-too.html");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &m_desktop, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); }

    void loadReportsStartFinishTitleAndUrl()
    {
        QtWebPage page;
        QSignalSpy started(&page, &WebPage::loadStarted);
        QSignalSpy failed(&page, &WebPage::loadFailed);
        QSignalSpy urls(&page, &WebPage::urlChanged);
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        QCOMPARE(started.count(), 1);
        QCOMPARE(failed.count(), 0);
        QCOMPARE(page.title(), QStringLiteral("One"));
        QCOMPARE(page.url(), m_server.url("/one.html"));
        QVERIFY(!urls.isEmpty());
        QCOMPARE(urls.last().at(0).toUrl(), m_server.url("/one.html"));
    }

    void failedLoadsCarryTheirCause_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("code");
        QTest::newRow("refused connection") << "refused" << 20000 << PlatformError::cannotConnectToHost;
        QTest::newRow("server never answers") << "/stalled.html" << 700 << PlatformError::timedOut;
    }

    void failedLoadsCarryTheirCause()
    {
        QFETCH(QString, target);
        QFETCH(int, timeoutMs);
        QFETCH(int, code);
        const QUrl url = target == u"refused" ? closedPortUrl() : m_server.url(target);
        QtWebPage page;
        QSignalSpy started(&page, &WebPage::loadStarted);
        QSignalSpy finished(&page, &WebPage::loadFinished);
        QSignalSpy failed(&page, &WebPage::loadFailed);
        QElapsedTimer clock;
        clock.start();
        page.load(url, std::chrono::milliseconds(timeoutMs));
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, waitMs);
        const auto error = failed.first().at(0).value<PlatformError>();
        QCOMPARE(error.domain, PlatformError::Domain::urlLoading);
        QCOMPARE(error.code, code);
        QVERIFY(clock.elapsed() < timeoutMs + 5000);
        // One end per navigation: the stop after a timeout is not told again as cancelled.
        QVERIFY(evaluate(page, "1").has_value());
        QCOMPARE(failed.count(), 1);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(started.count(), 1);
    }

    void aReplacedLoadKeepsTheNewTimeout()
    {
        QtWebPage page;
        QSignalSpy failed(&page, &WebPage::loadFailed);
        const qsizetype stalledRequests = m_server.requests().count("/stalled.html");
        page.load(m_server.url("/stalled.html"), loadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requests().count("/stalled.html") > stalledRequests, waitMs);
        page.load(m_server.url("/stalled-too.html"), 700ms);
        const auto timedOut = [&failed] {
            return std::any_of(failed.cbegin(), failed.cend(), [](const QList<QVariant> &args) {
                return args.at(0).value<PlatformError>().code == PlatformError::timedOut;
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(timedOut(), 8000);
    }

    void timedOutPageLoadsAgain()
    {
        QtWebPage page;
        QSignalSpy failed(&page, &WebPage::loadFailed);
        page.load(m_server.url("/stalled.html"), 500ms);
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, waitMs);
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(page.title(), QStringLiteral("One"));
    }

    void stoppingALoadCancelsIt()
    {
        QtWebPage page;
        QSignalSpy started(&page, &WebPage::loadStarted);
        QSignalSpy failed(&page, &WebPage::loadFailed);
        const qsizetype stalledRequests = m_server.requests().count("/stalled.html");
        page.load(m_server.url("/stalled.html"), loadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requests().count("/stalled.html") > stalledRequests
                                     && started.count() == 1,
                                 waitMs);
        page.stopLoading();
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, waitMs);
        QCOMPARE(failed.first().at(0).value<PlatformError>().code, PlatformError::cancelled);
    }

    void httpErrorPageIsAFinishedLoad()
    {
        QtWebPage page;
        QSignalSpy failed(&page, &WebPage::loadFailed);
        QVERIFY(waitForLoad(page, m_server.url("/missing.html")));
        QCOMPARE(failed.count(), 0);
        QCOMPARE(answer(page, "document.body.innerText"), QVariant("not found"));
    }

    void policySeesMainFrameAndSubFrames()
    {
        QtWebPage page;
        QList<PolicyCall> calls;
        page.setNavigationPolicy([&calls](const QUrl &url, bool isMainFrame) {
            calls.append({url, isMainFrame});
            return true;
        });
        QVERIFY(waitForLoad(page, m_server.url("/framed.html")));
        QTRY_VERIFY_WITH_TIMEOUT(calls.size() >= 2, waitMs);
        QCOMPARE(calls.at(0).url, m_server.url("/framed.html"));
        QVERIFY(calls.at(0).isMainFrame);
        QCOMPARE(calls.at(1).url, m_server.url("/one.html"));
        QVERIFY(!calls.at(1).isMainFrame);

        calls.clear();
        QSignalSpy finished(&page, &WebPage::loadFinished);
        page.runJavaScript("location.href = '/two.html'");
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).url, m_server.url("/two.html"));
        QVERIFY(calls.at(0).isMainFrame);
    }

    void refusedNavigationNeverLoads()
    {
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/links.html")));
        QList<PolicyCall> calls;
        page.setNavigationPolicy([&calls](const QUrl &url, bool isMainFrame) {
            calls.append({url, isMainFrame});
            return false;
        });
        QSignalSpy started(&page, &WebPage::loadStarted);
        QSignalSpy failed(&page, &WebPage::loadFailed);
        const qsizetype twoRequests = m_server.requests().count("/two.html");
        page.runJavaScript("document.getElementById('same').click()");
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), 1, waitMs);
        QCOMPARE(calls.at(0).url, m_server.url("/two.html"));
        QVERIFY(evaluate(page, "1").has_value());
        QCOMPARE(page.url(), m_server.url("/links.html"));
        QCOMPARE(answer(page, "document.title"), QVariant("Links"));
        QCOMPARE(m_server.requests().count("/two.html"), twoRequests);
        QCOMPARE(started.count(), 0);
        QVERIFY(m_desktop.opened.isEmpty());
        // Nothing started, so nothing is left loading.
        QCOMPARE(started.count(), 0);
        QCOMPARE(failed.count(), 0);

        // A later allowed navigation to the same address is told as usual.
        page.setNavigationPolicy([](const QUrl &, bool) { return true; });
        QSignalSpy finished(&page, &WebPage::loadFinished);
        page.runJavaScript("document.getElementById('same').click()");
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(started.count(), 1);
        QCOMPARE(page.title(), QStringLiteral("Two"));
    }

    void refusedCustomSchemeNeverReachesTheDesktop_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QUrl>("mailUrl");
        QTest::addColumn<bool>("isMainFrame");
        QTest::newRow("link in the main frame") << "/links.html" << "document.getElementById('mail').click()"
                                                << QUrl("mailto:someone@example.org") << true;
        QTest::newRow("scripted main frame") << "/one.html" << "location.href = 'mailto:script@example.org'"
                                             << QUrl("mailto:script@example.org") << true;
        QTest::newRow("embedded frame") << "/mailframe.html" << QString()
                                        << QUrl("mailto:frame@example.org") << false;
    }

    void refusedCustomSchemeNeverReachesTheDesktop()
    {
        QFETCH(QString, page);
        QFETCH(QString, trigger);
        QFETCH(QUrl, mailUrl);
        QFETCH(bool, isMainFrame);
        QtWebPage webPage;
        QList<PolicyCall> calls;
        webPage.setNavigationPolicy([&calls](const QUrl &url, bool mainFrame) {
            calls.append({url, mainFrame});
            return url.scheme() == u"http";
        });
        QVERIFY(waitForLoad(webPage, m_server.url(page)));
        QSignalSpy started(&webPage, &WebPage::loadStarted);
        QSignalSpy failed(&webPage, &WebPage::loadFailed);
        if (!trigger.isEmpty())
            webPage.runJavaScript(trigger);
        const auto askedForMail = [&] {
            return std::any_of(calls.cbegin(), calls.cend(), [&](const PolicyCall &call) {
                return call.url == mailUrl && call.isMainFrame == isMainFrame;
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(askedForMail(), waitMs);
        QVERIFY(evaluate(webPage, "1").has_value());
        QCOMPARE(webPage.url(), m_server.url(page));
        QVERIFY2(m_desktop.opened.isEmpty(), qPrintable(m_desktop.opened.value(0).toString()));
        QCOMPARE(started.count(), 0);
        QCOMPARE(failed.count(), 0);
    }

    void allowedCustomSchemeStillStaysInside()
    {
        QtWebPage page;
        QList<PolicyCall> calls;
        page.setNavigationPolicy([&calls](const QUrl &url, bool isMainFrame) {
            calls.append({url, isMainFrame});
            return true;
        });
        QVERIFY(waitForLoad(page, m_server.url("/links.html")));
        QSignalSpy started(&page, &WebPage::loadStarted);
        QSignalSpy failed(&page, &WebPage::loadFailed);
        page.runJavaScript("document.getElementById('mail').click()");
        QTRY_VERIFY_WITH_TIMEOUT(!calls.isEmpty() && calls.last().url.scheme() == u"mailto", waitMs);
        QVERIFY(evaluate(page, "1").has_value());
        QVERIFY2(m_desktop.opened.isEmpty(), qPrintable(m_desktop.opened.value(0).toString()));
        QCOMPARE(page.url(), m_server.url("/links.html"));
        QCOMPARE(started.count(), 0);
        QCOMPARE(failed.count(), 0);
    }

    void newWindowRequestsStayInThePage_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("requested");
        QTest::newRow("target _blank link") << "document.getElementById('blank').click()" << "/two.html";
        QTest::newRow("window.open") << "window.open('/two.html')" << "/two.html";
        // A custom scheme asked for in a new window is told as such, never handed on.
        QTest::newRow("target _blank mailto")
            << "document.getElementById('mailblank').click()" << "mailto:blank@example.org";
        QTest::newRow("window.open mailto") << "window.open('mailto:open@example.org')"
                                            << "mailto:open@example.org";
    }

    void newWindowRequestsStayInThePage()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, requested);
        const QUrl expected = requested.startsWith(u'/') ? m_server.url(requested) : QUrl(requested);
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/links.html")));
        QSignalSpy started(&page, &WebPage::loadStarted);
        const qsizetype windowsBefore = QApplication::topLevelWidgets().size();
        const qsizetype twoRequests = m_server.requests().count("/two.html");
        QSignalSpy requests(&page, &WebPage::newWindowRequested);
        page.runJavaScript(trigger);
        QTRY_COMPARE_WITH_TIMEOUT(requests.count(), 1, waitMs);
        QCOMPARE(requests.first().at(0).toUrl(), expected);
        QVERIFY(evaluate(page, "1").has_value());
        QCOMPARE(requests.count(), 1);
        QCOMPARE(page.url(), m_server.url("/links.html"));
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
        QCOMPARE(m_server.requests().count("/two.html"), twoRequests);
        QCOMPARE(started.count(), 0);
        QVERIFY(m_desktop.opened.isEmpty());
    }

    void scriptResults_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("string") << "'abc' + 'def'" << QVariant("abcdef");
        QTest::newRow("number") << "6 * 7" << QVariant(42.0);
        QTest::newRow("bool") << "1 < 2" << QVariant(true);
        QTest::newRow("json text") << "JSON.stringify({t: 1.5, p: false})" << QVariant("{\"t\":1.5,\"p\":false}");
        QTest::newRow("thrown error") << "(() => { throw new Error('boom'); })()" << QVariant();
        QTest::newRow("undefined name") << "notDefinedAnywhere.x" << QVariant();
    }

    void scriptResults()
    {
        QFETCH(QString, script);
        QFETCH(QVariant, expected);
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        std::optional<QVariant> result;
        page.runJavaScript(script, [&result](const QVariant &value) { result = value; });
        QVERIFY(!result.has_value());
        QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), waitMs);
        QCOMPARE(result->isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(result->toString(), expected.toString());
    }

    void answerAfterThePageIsGoneIsDropped()
    {
        auto page = std::make_unique<QtWebPage>();
        QVERIFY(waitForLoad(*page, m_server.url("/one.html")));
        auto answered = std::make_shared<bool>(false);
        page->runJavaScript("1 + 1", [answered](const QVariant &) { *answered = true; });
        bool snapshotAnswered = false;
        page->takeSnapshot([&snapshotAnswered](const QImage &) { snapshotAnswered = true; });
        page.reset();
        // A later page's answer arriving proves the event loop has run past the dropped ones.
        QtWebPage other;
        QVERIFY(waitForLoad(other, m_server.url("/two.html")));
        QVERIFY(evaluate(other, "2").has_value());
        QVERIFY(!*answered);
        QVERIFY(!snapshotAnswered);
    }

    void userScriptsRunAroundPageScriptsInThePageWorld()
    {
        QtWebPage page;
        page.setUserScripts({{"early", "window.__order = ['creation'];"
                                       "window.__lumivanePrimaryMedia = () => 'primary';",
                              WebPage::Injection::documentCreation},
                             {"late", "(window.__order = window.__order || []).push('ready');",
                              WebPage::Injection::documentReady}});
        QVERIFY(waitForLoad(page, m_server.url("/order.html")));
        QVERIFY(evaluatesTo(page, "JSON.stringify(window.__order)", "[\"creation\",\"page\",\"ready\"]"));
        QCOMPARE(answer(page, "window.__lumivanePrimaryMedia()"), QVariant("primary"));
        QCOMPARE(answer(page, "window.__seenByPage"), QVariant("function"));
        // Main frame only.
        QVERIFY(evaluatesTo(page, "document.querySelector('iframe').contentDocument.readyState", "complete"));
        QCOMPARE(answer(page, "String(document.querySelector('iframe').contentWindow.__order)"),
                 QVariant("undefined"));
    }

    void userScriptsAreReplaced()
    {
        QtWebPage page;
        page.setUserScripts({{"first", "window.__marks = (window.__marks || '') + 'a';",
                              WebPage::Injection::documentCreation}});
        page.setUserScripts({{"second", "window.__marks = (window.__marks || '') + 'b';",
                              WebPage::Injection::documentCreation}});
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        QCOMPARE(answer(page, "window.__marks"), QVariant("b"));
    }

    void killedRendererIsReportedAndPageRecovers()
    {
        QtWebPage page;
        QSignalSpy terminated(&page, &WebPage::renderProcessTerminated);
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        const qint64 pid = page.renderProcessId();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
        QTRY_COMPARE_WITH_TIMEOUT(terminated.count(), 1, waitMs);
        QVERIFY(waitForLoad(page, m_server.url("/two.html")));
        QCOMPARE(answer(page, "document.title"), QVariant("Two"));
        QVERIFY(page.renderProcessId() != pid);
        QCOMPARE(terminated.count(), 1);
    }

    void closingThePageIsNoCrash()
    {
        auto page = std::make_unique<QtWebPage>();
        QSignalSpy terminated(page.get(), &WebPage::renderProcessTerminated);
        QVERIFY(waitForLoad(*page, m_server.url("/one.html")));
        page.reset();
        QCOMPARE(terminated.count(), 0);
    }

    void snapshotOfAShownViewShowsThePage()
    {
        QtWebPage page;
        QWidget *view = page.view();
        QVERIFY(view);
        view->resize(320, 240);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QVERIFY(waitForLoad(page, m_server.url("/red.html")));
        const auto centreIsRed = [&page] {
            std::optional<QImage> image;
            page.takeSnapshot([&image](const QImage &snapshot) { image = snapshot; });
            if (image.has_value() || !QTest::qWaitFor([&image] { return image.has_value(); }, waitMs))
                return false;
            if (image->isNull())
                return false;
            const QColor centre = image->pixelColor(image->width() / 2, image->height() / 2);
            return centre.red() > 240 && centre.green() < 20 && centre.blue() < 20;
        };
        QVERIFY(QTest::qWaitFor(centreIsRed, waitMs));
    }

    void unmutedVideoPlaysWithoutAGesture()
    {
        const QString clip = MediaGenerator::colourClip(Qt::blue, 4.0);
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        LocalHttpServer media(QFileInfo(clip).absolutePath());
        QVERIFY(media.start());
        media.addPage("/video.html", html("Video", "<video id='v' autoplay src='/"
                                                       + QFileInfo(clip).fileName().toUtf8() + "'></video>"));
        QtWebPage page;
        QVERIFY(waitForLoad(page, media.url("/video.html")));
        const QString playing = "(() => { const v = document.getElementById('v');"
                                " return !v.paused && !v.muted && v.currentTime > 0.3; })()";
        QVERIFY(evaluatesTo(page, playing, true));
    }

    void viewAndPageMayGoInEitherOrder()
    {
        auto page = std::make_unique<QtWebPage>();
        auto window = std::make_unique<QWidget>();
        page->view()->setParent(window.get());
        QVERIFY(waitForLoad(*page, m_server.url("/one.html")));
        window.reset();
        QCOMPARE(page->view(), nullptr);
        QCOMPARE(answer(*page, "document.title"), QVariant("One"));
        page.reset();

        auto second = std::make_unique<QtWebPage>();
        window = std::make_unique<QWidget>();
        second->view()->setParent(window.get());
        second.reset();
        QVERIFY(window->findChildren<QWidget *>().isEmpty());
    }

    void blankPageEndsTheSession()
    {
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        QSignalSpy finished(&page, &WebPage::loadFinished);
        page.loadBlank();
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(page.url(), QUrl("about:blank"));
        QCOMPARE(answer(page, "document.body ? document.body.innerHTML : ''"), QVariant(""));
    }

    void historyGoesBackAndForward()
    {
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        QVERIFY(!page.canGoBack());
        QVERIFY(waitForLoad(page, m_server.url("/two.html")));
        QVERIFY(page.canGoBack());
        QVERIFY(!page.canGoForward());
        QSignalSpy finished(&page, &WebPage::loadFinished);
        page.goBack();
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(page.url(), m_server.url("/one.html"));
        QVERIFY(page.canGoForward());
        page.goForward();
        QVERIFY(finished.wait(waitMs));
        QCOMPARE(page.title(), QStringLiteral("Two"));
    }

    void compatibleUserAgent_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("expected");
        QTest::newRow("engine token in the middle")
            << "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
               "QtWebEngine/6.4.2 Chrome/102.0.5005.177 Safari/537.36"
            << "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
               "Chrome/102.0.5005.177 Safari/537.36";
        QTest::newRow("no token") << "Mozilla/5.0 Chrome/102.0 Safari/537.36"
                                  << "Mozilla/5.0 Chrome/102.0 Safari/537.36";
        QTest::newRow("token last") << "Mozilla/5.0 Chrome/102.0 QtWebEngine/6.4.2"
                                    << "Mozilla/5.0 Chrome/102.0";
    }

    void compatibleUserAgent()
    {
        QFETCH(QString, engine);
        QFETCH(QString, expected);
        QCOMPARE(WebProfile::compatibleUserAgent(engine), expected);
    }

    void compatibilityModeChangesTheUserAgentAndBack()
    {
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        const QString engineAgent = answer(page, "navigator.userAgent").toString();
        QVERIFY2(engineAgent.contains("QtWebEngine/"), qPrintable(engineAgent));

        page.setCompatibilityMode(true);
        QVERIFY(waitForLoad(page, m_server.url("/two.html")));
        const QString compatible = answer(page, "navigator.userAgent").toString();
        QVERIFY2(!compatible.contains("QtWebEngine"), qPrintable(compatible));
        QVERIFY2(compatible.contains("Chrome/"), qPrintable(compatible));
        QtWebPage second;
        QVERIFY(waitForLoad(second, m_server.url("/one.html")));
        QCOMPARE(answer(second, "navigator.userAgent"), QVariant(compatible));

        page.setCompatibilityMode(false);
        QVERIFY(waitForLoad(page, m_server.url("/one.html")));
        QCOMPARE(answer(page, "navigator.userAgent"), QVariant(engineAgent));
    }

    void profileIsPersistentAndPrivate()
    {
        const auto profile = WebProfile::shared();
        const QString data = m_home.filePath("data/Lumivane-Verification");
        QVERIFY(!profile->isOffTheRecord());
        QCOMPARE(profile->persistentStoragePath(), data + "/WebEngine/storage");
        QCOMPARE(profile->cachePath(), data + "/WebEngine/cache");
        QCOMPARE(profile->persistentCookiesPolicy(), QWebEngineProfile::ForcePersistentCookies);
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
            | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        for (const QString &folder : {data + "/WebEngine", data + "/WebEngine/storage", data + "/WebEngine/cache"}) {
            const QFile::Permissions permissions = QFileInfo(folder).permissions();
            QVERIFY2((permissions & owner) == owner, qPrintable(folder));
            QVERIFY2(!(permissions & others), qPrintable(folder));
        }
        QCOMPARE(WebProfile::shared(), profile);
    }

    void storageOutlivesEveryPage()
    {
        QWebEngineProfile *profile = nullptr;
        {
            QtWebPage page;
            profile = WebProfile::shared().get();
            QVERIFY(waitForLoad(page, m_server.url("/one.html")));
            QVERIFY(evaluate(page, "localStorage.setItem('kept', 'yes');"
                                   "document.cookie = 'session=abc; max-age=3600; path=/'; 1")
                        .has_value());
        }
        // Let go and made again at once, the profile would lose the cookie it had not written.
        QCOMPARE(WebProfile::shared().get(), profile);
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/two.html")));
        QCOMPARE(answer(page, "localStorage.getItem('kept')"), QVariant("yes"));
        QCOMPARE(answer(page, "document.cookie"), QVariant("session=abc"));
    }

    void httpPageCannotReadLocalFiles()
    {
        const QByteArray fileUrl = QUrl::fromLocalFile(m_home.filePath("secret.html")).toEncoded();
        m_server.addPage("/snoop.html", html("Snoop",
            "<script>window.__fetch = 'pending';"
            "window.addEventListener('message', e => { window.__leak = String(e.data); });"
            "fetch('" + fileUrl + "').then(r => r.text())"
            ".then(t => { window.__fetch = 'read:' + t; }, () => { window.__fetch = 'blocked'; });"
            "</script><iframe src='" + fileUrl + "'></iframe>"));
        QtWebPage page;
        QVERIFY(waitForLoad(page, m_server.url("/snoop.html")));
        QVERIFY(evaluatesTo(page, "window.__fetch", "blocked"));
        QVERIFY(evaluatesTo(page, "document.querySelector('iframe') !== null", true));
        QCOMPARE(answer(page, "String(window.__leak)"), QVariant("undefined"));
        QVERIFY(!answer(page, "document.documentElement.outerHTML")
                     .toString().contains("top-secret-7781"));
    }

private:
    QTemporaryDir m_home;
    LocalHttpServer m_server;
    DesktopHandler m_desktop;
};

QTEST_MAIN(TestQtWebPage)
#include "itst_qtwebpage.moc"
