#include "windows/FloatingPanel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWebEngineView>
#include <QWindow>

// A window whose content draws through a texture (the web engine's view does) gets a new
// native window on its first show. Keys and drag mode, watched on the native window, must
// keep working on the new one.
class TestFloatingPanelTexture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newNativeWindowIsWatched()
    {
        FloatingPanel panel;
        int keys = 0;
        panel.setKeyHandler([&keys](const QKeyEvent &event) {
            if (event.key() != Qt::Key_K)
                return false;
            ++keys;
            return true;
        });
        auto *content = new QWidget;
        new QWebEngineView(content);
        // Takes every key it gets, as the page does.
        auto *field = new QLineEdit(content);
        content->setFocusProxy(field);
        panel.setContent(content);
        panel.setDragAnywhere(true);
        panel.setGeometry(100, 100, 480, 300);
        const QPointer<QWindow> before(panel.windowHandle());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        // The premise: the window was rebuilt.
        QVERIFY(before.isNull());

        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        panel.setFocus();
        QTest::keyClick(panel.windowHandle(), Qt::Key_K);
        QCOMPARE(keys, 1);
        QCOMPARE(field->text(), QString());
        QTest::keyClick(panel.windowHandle(), Qt::Key_J);
        QCOMPARE(field->text(), u"j"_qs);

        const QPoint start = panel.pos();
        QTest::mousePress(panel.windowHandle(), Qt::LeftButton, {}, QPoint(200, 150));
        QTest::mouseMove(panel.windowHandle(), QPoint(240, 180));
        QTRY_COMPARE(panel.pos(), start + QPoint(40, 30));
        QTest::mouseRelease(panel.windowHandle(), Qt::LeftButton);
    }
};

QTEST_MAIN(TestFloatingPanelTexture)
#include "itst_floatingpaneltexture.moc"
