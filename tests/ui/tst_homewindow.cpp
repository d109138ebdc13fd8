#include "ModelHarness.h"

#include "app/AppModel.h"
#include "ui/HomeWindow.h"

#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

class TestHomeWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Open is offered for any non-blank input; the model's error shows in the card until an
    // input opens.
    void input()
    {
        ModelHarness harness;
        HomeWindow window(harness.model());
        window.show();
        QTest::keyClicks(window.inputField(), u"   "_qs);
        QVERIFY(harness.model().input() == u"   "_qs && !window.openButton()->isEnabled());
        window.inputField()->clear();
        QTest::keyClicks(window.inputField(), u"ftp://files.example/a.mp4"_qs);
        QTest::mouseClick(window.openButton(), Qt::LeftButton);
        QVERIFY(harness.model().inputError() && window.errorCard()->isVisible());
        QCOMPARE(window.errorCard()->findChild<QLabel *>(u"errorMessage"_qs)->text(), harness.model().inputError()->message());
        window.inputField()->clear();
        QTest::keyClicks(window.inputField(), u"https://media.example/a.mp4"_qs);
        QTest::keyClick(window.inputField(), Qt::Key_Return);
        QVERIFY(window.errorCard()->isHidden() && harness.model().sessions().size() == 1);
    }

    // A damaged history shows its warning line, and the fresh one lists the most recent
    // first; activating an entry opens it again.
    void historyAndWarning()
    {
        ModelHarness harness;
        QDir().mkpath(QFileInfo(harness.historyFile()).absolutePath());
        QFile damaged(harness.historyFile());
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("[{") == 2);
        damaged.close();
        harness.restart();
        HomeWindow window(harness.model());
        window.show();
        QVERIFY(window.storageWarningLabel()->isVisible());
        QCOMPARE(window.storageWarningLabel()->text(), harness.model().storageWarning().value());
        harness.model().close(*harness.openClip(1));
        harness.openClip(2);
        QListWidgetItem *older = window.recentList()->item(1);
        QCOMPARE(older->toolTip(), ModelHarness::clipURL(1));
        Q_EMIT window.recentList()->itemActivated(older);
        QCOMPARE(harness.model().sessions().last()->source().urlString(), ModelHarness::clipURL(1));
    }

    // Text can be dropped and opens; an image alone is refused.
    void drops()
    {
        for (const bool text : {true, false}) {
            ModelHarness harness;
            HomeWindow window(harness.model());
            QMimeData data;
            text ? data.setText(ModelHarness::clipURL(1)) : data.setImageData(QColor(Qt::blue));
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            enter.setAccepted(false);
            QCoreApplication::sendEvent(&window, &enter);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &drop);
            QCOMPARE(enter.isAccepted(), text);
            QTRY_COMPARE_WITH_TIMEOUT(harness.model().sessions().size(), text ? 1 : 0, 2000);
        }
    }
};

QTEST_MAIN(TestHomeWindow)
#include "tst_homewindow.moc"
