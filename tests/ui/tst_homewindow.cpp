#include "ModelHarness.h"

#include "app/AppModel.h"
#include "ui/HomeWindow.h"

#include "KiteCore/L10n.h"

#include <QDragEnterEvent>
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

    // Open is offered for any non-blank input; the model's error shows in the card until
    // an input opens.
    void input()
    {
        ModelHarness harness;
        HomeWindow window(harness.model());
        window.show();
        for (const auto &[typed, enabled] : {std::pair{u"   "_qs, false}, std::pair{u"x"_qs, true}}) {
            window.inputField()->clear();
            QTest::keyClicks(window.inputField(), typed);
            QCOMPARE(harness.model().input(), typed);
            QCOMPARE(window.openButton()->isEnabled(), enabled);
        }
        QTest::keyClicks(window.inputField(), u"ftp://files.example/a.mp4"_qs);
        QTest::mouseClick(window.openButton(), Qt::LeftButton);
        const std::optional<AppError> error = harness.model().inputError();
        QVERIFY(error && window.errorCard()->isVisible());
        QCOMPARE(window.errorCard()->findChild<QLabel *>(u"errorMessage"_qs)->text(), error->message());
        window.inputField()->clear();
        QTest::keyClicks(window.inputField(), u"https://media.example/a.mp4"_qs);
        QTest::keyClick(window.inputField(), Qt::Key_Return);
        QVERIFY(window.errorCard()->isHidden());
        QCOMPARE(harness.model().sessions().size(), 1);
    }

    void storageWarningLine()
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
    }

    // Most recent first; activating an entry opens it again.
    void recentListOpensAnEntry()
    {
        ModelHarness harness;
        HomeWindow window(harness.model());
        harness.model().close(*harness.openClip(1));
        harness.openClip(2);
        QListWidgetItem *older = window.recentList()->item(1);
        QCOMPARE(older->toolTip(), ModelHarness::clipURL(1));
        Q_EMIT window.recentList()->itemActivated(older);
        QCOMPARE(harness.model().sessions().last()->source().urlString(), ModelHarness::clipURL(1));
    }

    // Files, links and text can be dropped; an image alone cannot.
    void drops()
    {
        for (const auto &[kind, accepted] : {std::pair{"text", true}, std::pair{"image", false}}) {
            ModelHarness harness;
            HomeWindow window(harness.model());
            QMimeData data;
            kind == std::string_view("text") ? data.setText(ModelHarness::clipURL(1)) : data.setImageData(QColor(Qt::blue));
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            enter.setAccepted(false);
            QCoreApplication::sendEvent(&window, &enter);
            QCOMPARE(enter.isAccepted(), accepted);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &drop);
            QTRY_COMPARE_WITH_TIMEOUT(harness.model().sessions().size(), accepted ? 1 : 0, 2000);
        }
    }
};

QTEST_MAIN(TestHomeWindow)
#include "tst_homewindow.moc"
