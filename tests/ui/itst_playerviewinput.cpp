#include "ui/PlayerView.h"
#include "ui/VolumePopover.h"

#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "PointerDrag.h"
#include "PressCounter.h"
#include "WindowHarness.h"
#include "X11Input.h"

#include "webengine/QtWebPage.h"

#include <QFileInfo>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {
const QRect start(100, 134, 640, 386);
const QPoint dragBy(40, 30);

std::unique_ptr<WindowHarness> shown(WindowHarness::Options options = {})
{
    options.view = true;
    options.prepare = [](Preferences &preferences) { preferences.setSnapToEdges(false); };
    auto window = std::make_unique<WindowHarness>(options);
    return window->present() && QTest::qWaitForWindowActive(&window->window()) ? std::move(window) : nullptr;
}
} // namespace

// Real pointer and keys on the player view, with no window manager running: drag mode
// leaves the controls their presses, and the real web engine gets the keyboard and the
// pointer of its page.
class TestPlayerViewInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { X11Input::button(u"mouseup"_qs); }

    // In drag mode a press on a control stays with it (the hand button that ends drag mode
    // among them); anywhere else it moves the window.
    void pressInDragMode()
    {
        struct Row { std::function<QWidget *(WindowHarness &)> target; bool moves; };
        for (const Row &row : QList<Row>{{[](auto &w) { return w.button(u"Back to mouse mode (click the page)"_qs); }, false},
                                         {[](auto &w) { return w.button(u"Volume"_qs)->click(), w.view()->volumePopover()->slider(); }, false},
                                         {[](auto &w) { return w.view()->template findChild<QWidget *>(u"bottomBar"_qs); }, true}}) {
            auto window = shown();
            QVERIFY(window);
            window->session().setGrabMode(true);
            QWidget *target = row.target(*window);
            PressCounter presses;
            target->installEventFilter(&presses);
            const QPoint press = target->mapToGlobal(row.moves ? QPoint(4, 4) : target->rect().center());
            const QPoint to = start.topLeft() + (row.moves ? dragBy : QPoint());
            QVERIFY(target->isVisible() && PointerDrag::leftDrag(press, press + dragBy, [&] { return window->window().pos() == to; }));
            QTRY_COMPARE_WITH_TIMEOUT(presses.presses, row.moves ? 0 : 1, 2000);
            QVERIFY(window->session().grabMode());
        }
    }

    // The page in a window on the real engine: typed keys reach it and Escape stays the
    // window's; in drag mode a press on it moves the window and never reaches the page, in
    // mouse mode it does; the engine's surface takes the pointer, and hovering it still
    // shows the controls.
    void realPage()
    {
        const QString clip = MediaGenerator::testPattern(4.0, {640, 360});
        LocalHttpServer server(MediaGenerator::folder());
        server.addPage(u"/page.html"_qs, QStringLiteral(
            "<body style='margin:0'><video src='/%1' autoplay loop muted style='width:100vw;height:100vh'></video><script>"
            "keys = ''; downs = 0; addEventListener('keydown', e => keys += e.key); addEventListener('mousedown', () => ++downs);"
            "</script></body>").arg(QFileInfo(clip).fileName()).toUtf8());
        QVERIFY2(!clip.isEmpty() && server.start(), qPrintable(MediaGenerator::lastError()));
        auto window = shown({.source = WindowHarness::clip(server.url(u"/page.html"_qs).toString(), MediaKind::web),
                             .pages = [] { return std::make_unique<QtWebPage>(); }});
        QVERIFY(window);
        window->view()->setAutoHideDelays(100, 200);
        const auto evaluate = [&window](const QString &script) {
            auto result = std::make_shared<QVariant>();
            window->session().webPage()->runJavaScript(script, [result](const QVariant &value) { *result = value; });
            return QTest::qWaitFor([result] { return result->isValid(); }, 5000) ? *result : QVariant();
        };
        QTRY_VERIFY_WITH_TIMEOUT(evaluate(u"document.querySelector('video').currentTime > 0.2"_qs).toBool(), 20000);
        QVERIFY(X11Input::xdotool({u"type"_qs, u"ab"_qs}));
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(u"keys"_qs).toString(), u"ab"_qs, 5000);
        const QPoint onPage = start.topLeft() + QPoint(60, start.height() / 2);
        window->session().setGrabMode(true);
        QVERIFY(PointerDrag::leftDrag(onPage, onPage + dragBy, [&] { return window->window().pos() == start.topLeft() + dragBy; }));
        window->session().setGrabMode(false);
        QVERIFY(X11Input::pointerTo(onPage + dragBy * 2) && X11Input::button(u"click"_qs));
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(u"downs"_qs).toInt(), 1, 5000);
        QVERIFY(X11Input::pointerTo(QPoint(1200, 700)));
        QTRY_VERIFY_WITH_TIMEOUT(!window->view()->controlsVisible(), 5000);
        QVERIFY(X11Input::pointerTo(onPage + dragBy * 2 + QPoint(5, 5)));
        QTRY_VERIFY_WITH_TIMEOUT(window->view()->controlsVisible(), 2000);
        QVERIFY(X11Input::key(u"Escape"_qs));
        QTRY_COMPARE_WITH_TIMEOUT(window->closed(), 1, 5000);
    }
};

QTEST_MAIN(TestPlayerViewInput)
#include "itst_playerviewinput.moc"
