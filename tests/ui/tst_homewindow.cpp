#include "ModelHarness.h"

#include "app/AppModel.h"
#include "ui/HomeWindow.h"

#include "KiteCore/L10n.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFrame>
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
    void init() { L10n::setLanguage(AppLanguage::en); }

    void openButtonFollowsTheInput_data();
    void openButtonFollowsTheInput();
    void errorCardShowsTheModelsError();
    void storageWarningLine();
    void recentListOpensAnEntry();
    void dragsAreAcceptedOnlyWhenUsable_data();
    void dragsAreAcceptedOnlyWhenUsable();
};

void TestHomeWindow::openButtonFollowsTheInput_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nothing") << "" << false;
    QTest::newRow("spaces") << "   " << false;
    QTest::newRow("a link") << "https://media.example/a.mp4" << true;
    QTest::newRow("one letter") << "x" << true;
}

void TestHomeWindow::openButtonFollowsTheInput()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    ModelHarness harness;
    HomeWindow window(harness.model());
    window.show();

    QTest::keyClicks(window.inputField(), typed);

    QCOMPARE(harness.model().input(), typed);
    QCOMPARE(window.openButton()->isEnabled(), enabled);
    harness.model().setInput(QString());
    QVERIFY(window.inputField()->text().isEmpty());
    QVERIFY(!window.openButton()->isEnabled());
}

void TestHomeWindow::errorCardShowsTheModelsError()
{
    ModelHarness harness;
    HomeWindow window(harness.model());
    window.show();
    QVERIFY(window.errorCard()->isHidden());

    QTest::keyClicks(window.inputField(), u"ftp://files.example/a.mp4"_qs);
    QTest::mouseClick(window.openButton(), Qt::LeftButton);

    const std::optional<AppError> error = harness.model().inputError();
    QVERIFY(error);
    QVERIFY(window.errorCard()->isVisible());
    const auto text = [&window](const char *name) {
        return window.errorCard()->findChild<QLabel *>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(text("errorTitle"), error->title());
    QCOMPARE(text("errorMessage"), error->message());
    QCOMPARE(text("errorRecovery"), error->recovery().value_or(QString()));

    window.inputField()->clear();
    QTest::keyClicks(window.inputField(), u"https://media.example/a.mp4"_qs);
    QTest::keyClick(window.inputField(), Qt::Key_Return);
    QVERIFY(window.errorCard()->isHidden());
    QCOMPARE(harness.model().sessions().size(), 1);
}

void TestHomeWindow::storageWarningLine()
{
    ModelHarness harness;
    QDir().mkpath(QFileInfo(harness.historyFile()).absolutePath());
    QFile damaged(harness.historyFile());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("[{");
    damaged.close();
    harness.restart();

    HomeWindow window(harness.model());
    window.show();

    QVERIFY(window.storageWarningLabel()->isVisible());
    QCOMPARE(window.storageWarningLabel()->text(), harness.model().storageWarning().value());
}

void TestHomeWindow::recentListOpensAnEntry()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    HomeWindow window(model);
    window.show();
    model.close(*harness.openClip(1));
    harness.openClip(2);
    QCOMPARE(window.recentList()->count(), 2);

    // Most recent first: clip 2, then clip 1.
    QListWidgetItem *older = window.recentList()->item(1);
    QCOMPARE(older->toolTip(), ModelHarness::clipURL(1));
    Q_EMIT window.recentList()->itemActivated(older);

    QCOMPARE(model.sessions().size(), 2);
    QCOMPARE(model.sessions().last()->source().urlString(), ModelHarness::clipURL(1));
}

void TestHomeWindow::dragsAreAcceptedOnlyWhenUsable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("file") << "file" << true;
    QTest::newRow("link") << "link" << true;
    QTest::newRow("text") << "text" << true;
    QTest::newRow("image only") << "image" << false;
}

void TestHomeWindow::dragsAreAcceptedOnlyWhenUsable()
{
    QFETCH(QString, kind);
    QFETCH(bool, accepted);
    ModelHarness harness;
    HomeWindow window(harness.model());
    window.show();
    QMimeData data;
    if (kind == u"file")
        data.setUrls({QUrl::fromLocalFile(harness.touch(u"a.mp4"_qs))});
    else if (kind == u"link")
        data.setUrls({QUrl(ModelHarness::clipURL(1))});
    else if (kind == u"text")
        data.setText(ModelHarness::clipURL(1));
    else
        data.setImageData(QColor(Qt::blue));

    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(&window, &enter);
    QCOMPARE(enter.isAccepted(), accepted);

    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    QCoreApplication::sendEvent(&window, &drop);
    QCOMPARE(drop.isAccepted(), accepted);
    QTRY_COMPARE_WITH_TIMEOUT(harness.model().sessions().size(), accepted ? 1 : 0, 2000);
}

QTEST_MAIN(TestHomeWindow)
#include "tst_homewindow.moc"
