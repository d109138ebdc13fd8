#include "ui/PlayerView.h"

#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "settings/Preferences.h"
#include "platform/QtWebPage.h"
#include "playback/PlaybackSession.h"
#include "platform/DebugLog.h"
#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include "KiteCore/L10n.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool pointerTo(const QPoint &point)
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                    QString::number(point.x()), QString::number(point.y())});
}

bool button(const char *action)
{
    return xdotool({QString::fromLatin1(action), QStringLiteral("1")});
}

// A playing video under the whole window and a page that records the keys and presses it
// gets.
QByteArray pageHtml(const QString &clip)
{
    return QStringLiteral(
               "<!doctype html><html style='overflow:hidden'><body style='margin:0;background:#124'>"
               "<video src='/%1' autoplay loop muted style='display:block;width:100vw;height:100vh'></video>"
               "<script>window.keys = ''; window.downs = 0;"
               "document.addEventListener('keydown', e => { window.keys += e.key + ','; });"
               "document.addEventListener('mousedown', () => { window.downs += 1; });"
               "</script></body></html>")
        .arg(clip)
        .toUtf8();
}

// A shown player window on the real web engine, built the way the application builds it.
struct Window {
    Window(const QTemporaryDir &dir, const QUrl &page)
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          preferences(settings)
    {
        PlaybackSession::Dependencies dependencies{
            preferences, settings, {}, [] { return std::make_unique<QtWebPage>(); }};
        session = std::make_unique<PlaybackSession>(
            MediaSource(page, MediaKind::web, QStringLiteral("Page"), QString()), std::nullopt,
            dependencies);
        controller = std::make_unique<PlayerWindowController>(
            *session, settings, preferences, placement, [this](PlayerWindowController &owner) {
                view = new PlayerView(*session, owner, preferences);
                view->setAutoHideDelays(100, 200);
                return view;
            });
        controller->setOnClose([this] { ++closed; });
        controller->present();
    }

    ~Window()
    {
        controller.reset();
        session->stop();
    }

    // The page's answer to script; invalid when none came.
    QVariant evaluate(const QString &script) const
    {
        auto result = std::make_shared<std::optional<QVariant>>();
        session->webPage()->runJavaScript(script,
                                          [result](const QVariant &value) { *result = value; });
        if (!QTest::qWaitFor([&] { return result->has_value(); }, 5000))
            return {};
        return result->value_or(QVariant());
    }

    // Loaded, playing and drawn.
    bool waitForPlayback() const
    {
        return QTest::qWaitFor([this] { return session->state().isReady(); }, 20000)
            && QTest::qWaitFor(
                [this] {
                    return evaluate(QStringLiteral(
                                        "document.querySelector('video').currentTime > 0.2"))
                        .toBool();
                },
                20000);
    }

    QWidget *panel() const { return controller->window(); }

    QSettings settings;
    Preferences preferences;
    WindowPlacement placement;
    std::unique_ptr<PlaybackSession> session;
    std::unique_ptr<PlayerWindowController> controller;
    PlayerView *view = nullptr;
    int closed = 0;
};

} // namespace

// The page in a player window on the real engine: it gets the keyboard, drag mode still
// moves the window over it, and hovering it shows the controls.
class TestWebPlayerView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<LocalHttpServer> m_server;
    QUrl m_page;

    std::unique_ptr<Window> openShown()
    {
        auto window = std::make_unique<Window>(m_dir, m_page);
        if (!QTest::qWaitForWindowExposed(window->panel(), 15000) || !window->waitForPlayback())
            return nullptr;
        return window;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        const QString clip = MediaGenerator::testPattern(4.0, {640, 360});
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        m_server = std::make_unique<LocalHttpServer>(MediaGenerator::folder());
        m_server->addPage(QStringLiteral("/page.html"), pageHtml(QFileInfo(clip).fileName()));
        QVERIFY(m_server->start());
        m_page = m_server->url(QStringLiteral("/page.html"));
    }

    void init()
    {
        L10n::setLanguage(AppLanguage::en);
        QFile::remove(m_dir.filePath(QStringLiteral("settings.ini")));
    }

    void cleanup()
    {
        button("mouseup");
        L10n::setLanguage(AppLanguage::system);
    }

    // Typed keys reach the page once the window is shown; Escape stays the window's.
    void typedKeysReachThePage()
    {
        auto window = openShown();
        QVERIFY(window);
        QTRY_VERIFY_WITH_TIMEOUT(window->panel()->isActiveWindow(), 5000);
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused != nullptr);
        QVERIFY(focused == window->view->webView() || window->view->webView()->isAncestorOf(focused));

        QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("ab")}));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("space")}));
        QTRY_COMPARE_WITH_TIMEOUT(window->evaluate(QStringLiteral("window.keys")).toString(),
                                  QStringLiteral("a,b, ,"), 5000);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
        QTRY_COMPARE_WITH_TIMEOUT(window->closed, 1, 5000);
    }

    // In drag mode a press on the page moves the window and never reaches the page; in
    // mouse mode it reaches the page and is logged.
    void pressesOnThePage()
    {
        const QString log = m_dir.filePath(QStringLiteral("grab.log"));
        auto window = openShown();
        QVERIFY(window);
        QWidget *panel = window->panel();
        // Left of the centred status area, halfway down: only the page is there.
        const QPoint onPage = panel->mapToGlobal(QPoint(60, panel->height() / 2));
        const QPoint start = panel->pos();
        const QPoint dragBy(40, 30);

        window->session->setGrabMode(true);
        QVERIFY(pointerTo(onPage));
        QVERIFY(button("mousedown"));
        QTRY_VERIFY_WITH_TIMEOUT(QGuiApplication::mouseButtons() & Qt::LeftButton, 2000);
        for (int step = 1; step <= 4; ++step) {
            QVERIFY(pointerTo(onPage + dragBy * step / 4));
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE_WITH_TIMEOUT(panel->pos(), start + dragBy, 5000);
        QVERIFY(button("mouseup"));
        QTRY_VERIFY_WITH_TIMEOUT(!(QGuiApplication::mouseButtons() & Qt::LeftButton), 2000);
        QCOMPARE(window->evaluate(QStringLiteral("window.downs")).toInt(), 0);

        window->session->setGrabMode(false);
        qputenv("LUMIVANE_DEBUG", "1");
        DebugLog::setFileForTesting(log);
        QVERIFY(pointerTo(panel->mapToGlobal(QPoint(60, panel->height() / 2))));
        QVERIFY(button("click"));
        QTRY_COMPARE_WITH_TIMEOUT(window->evaluate(QStringLiteral("window.downs")).toInt(), 1, 5000);
        DebugLog::setFileForTesting(QString());
        qunsetenv("LUMIVANE_DEBUG");
        QCOMPARE(panel->pos(), start + dragBy);
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("webView.mouseDown\n"), 1);
    }

    // The engine's surface takes the pointer; the controls still follow it.
    void hoverShowsTheControls()
    {
        auto window = openShown();
        QVERIFY(window);
        QWidget *panel = window->panel();
        QVERIFY(pointerTo(panel->geometry().bottomRight() + QPoint(100, 100)));
        QTRY_VERIFY_WITH_TIMEOUT(!window->view->controlsVisible(), 5000);
        QVERIFY(pointerTo(panel->mapToGlobal(QPoint(60, panel->height() / 2))));
        QTRY_VERIFY_WITH_TIMEOUT(window->view->controlsVisible(), 2000);
        // Staying over the page keeps them.
        QTest::qWait(400);
        QVERIFY(window->view->controlsVisible());
        QVERIFY(pointerTo(panel->geometry().bottomRight() + QPoint(100, 100)));
        QTRY_VERIFY_WITH_TIMEOUT(!window->view->controlsVisible(), 2000);
    }
};

QTEST_MAIN(TestWebPlayerView)
#include "itst_webplayerview.moc"
