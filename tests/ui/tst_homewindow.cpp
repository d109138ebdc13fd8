#include "FakeImageFetcher.h"
#include "ModelHarness.h"

#include "app/AppModel.h"
#include "app/ThumbnailLoader.h"
#include "ui/DropOverlay.h"
#include "ui/HistorySection.h"
#include "ui/HomeErrorCard.h"
#include "ui/HomeWindow.h"
#include "ui/ListRowDelegate.h"
#include "ui/OpenSection.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {
// A home window over a model harness, shown and active.
struct Home {
    ModelHarness harness;
    FakeImageFetcher fetcher;
    ThumbnailLoader thumbnails{fetcher, harness.home().cacheHome()};
    HomeWindow window{harness.model(), harness.preferences(), thumbnails};

    Home()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    OpenSection &open() const { return *window.openSection(); }
    HomeErrorCard &card() const { return *open().errorCard(); }
    void type(const QString &text) const
    {
        open().inputField()->clear();
        QTest::keyClicks(open().inputField(), text);
    }
};

struct ErrorRow {
    const char *name;
    std::function<void(Home &)> raise;
    // The external button's text; empty when it is not offered.
    QString external;
};

const QList<ErrorRow> errorRows{
    {"an input that does not parse offers no way out",
     [](Home &h) { h.type(u"ftp://files.example/a.mp4"_qs); QTest::keyClick(h.open().inputField(), Qt::Key_Return); }, {}},
    {"a refusal of a parsable link offers the browser",
     [](Home &h) {
         for (int clip = 1; clip <= AppModel::maximumSessions; ++clip)
             h.harness.openClip(clip);
         h.type(u"https://vimeo.com/1"_qs);
         QTest::mouseClick(h.open().openButton(), Qt::LeftButton);
     },
     u"Open in browser"_qs},
    {"a player that cannot take it offers another player",
     [](Home &h) { h.card().setError(AppError::decode(u"Bad stream"_qs), true); h.card().show(); }, u"Open externally"_qs},
};

struct PasteRow {
    const char *name;
    bool inField;
    QString expected;
};

const QList<PasteRow> pasteRows{
    {"in the field Ctrl+V pastes at the cursor", true, u"typed https://media.example/new.mp4"_qs},
    {"elsewhere Ctrl+V replaces the input", false, u"https://media.example/new.mp4"_qs},
};
} // namespace

class TestHomeWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorCard_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < errorRows.size(); ++i)
            QTest::newRow(errorRows.at(i).name) << i;
    }

    // Dismiss always takes the card away.
    void errorCard()
    {
        QFETCH(int, row);
        Home h;
        errorRows.at(row).raise(h);
        QVERIFY(h.card().isVisible());
        QCOMPARE(h.card().externalButton()->isVisible() ? h.card().externalButton()->text() : QString(),
                 errorRows.at(row).external);
        QTest::mouseClick(h.card().dismissButton(), Qt::LeftButton);
        QVERIFY(!h.harness.model().inputError());
    }

    // The browser gets the page that was refused a window.
    void externalButtonOpensTheBrowser()
    {
        Home h;
        errorRows.at(1).raise(h);
        QTest::mouseClick(h.card().externalButton(), Qt::LeftButton);
        QCOMPARE(h.harness.workspace().openedUrls(), QList<QUrl>{QUrl(u"https://vimeo.com/1"_qs)});
    }

    void paste_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < pasteRows.size(); ++i)
            QTest::newRow(pasteRows.at(i).name) << i;
    }

    void paste()
    {
        QFETCH(int, row);
        Home h;
        h.type(u"typed "_qs);
        QGuiApplication::clipboard()->setText(u"https://media.example/new.mp4"_qs);
        QWidget *target = pasteRows.at(row).inField ? static_cast<QWidget *>(h.open().inputField())
                                                    : h.open().pasteButton();
        target->setFocus();
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(h.harness.model().input(), pasteRows.at(row).expected);
        QVERIFY(h.harness.model().sessions().isEmpty());
    }

    // The Paste button fills the field and opens nothing.
    void pasteButtonFillsTheField()
    {
        Home h;
        QGuiApplication::clipboard()->setText(u"https://media.example/new.mp4"_qs);
        QTest::mouseClick(h.open().pasteButton(), Qt::LeftButton);
        QCOMPARE(h.open().inputField()->text(), u"https://media.example/new.mp4"_qs);
        QVERIFY(h.harness.model().sessions().isEmpty());
    }

    // Coming back to Open puts the cursor in the field.
    void openFocusesTheInput()
    {
        Home h;
        h.harness.model().setSection(HomeSection::recent);
        h.window.setFocus();
        QVERIFY(!h.open().inputField()->hasFocus());
        h.harness.model().setSection(HomeSection::open);
        QTRY_VERIFY_WITH_TIMEOUT(h.open().inputField()->hasFocus(), 2000);
    }

    // Cancel keeps everything; Clear removes the favourites too.
    void clearHistoryAsksFirst()
    {
        for (const bool confirm : {false, true}) {
            Home h;
            h.harness.openClip(1);
            h.harness.model().setFavorite(h.harness.model().history().first().id, true);
            h.harness.model().setSection(HomeSection::recent);
            QTest::mouseClick(h.window.recentSection()->clearButton(), Qt::LeftButton);
            QMessageBox *box = h.window.recentSection()->confirmation();
            QVERIFY(box && box->informativeText().startsWith(u"1 items will be removed"_qs));
            const auto buttons = box->buttons();
            const auto chosen = std::ranges::find(buttons, confirm ? u"Clear"_qs : u"Cancel"_qs, &QAbstractButton::text);
            QVERIFY(chosen != buttons.end());
            QTest::mouseClick(*chosen, Qt::LeftButton);
            QCOMPARE(h.harness.model().history().size(), confirm ? 0 : 1);
        }
    }

    // A click on a row's drawn star, Open or bin reaches that entry.
    void rowButtons()
    {
        Home h;
        h.harness.model().close(*h.harness.openClip(1));
        h.harness.model().setSection(HomeSection::recent);
        QListView &list = *h.window.recentSection()->list();
        const QModelIndex first = list.model()->index(0, 0);
        const auto *delegate = qobject_cast<ListRowDelegate *>(list.itemDelegate());
        const auto click = [&](int button) {
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                              delegate->buttonRect(list.visualRect(first), first, button).center());
        };
        click(1);
        QVERIFY(h.harness.model().history().first().isFavorite);
        click(0);
        QCOMPARE(h.harness.model().sessions().size(), 1);
        click(2);
        QVERIFY(h.harness.model().history().isEmpty());
    }

    // The overlay shows while text hovers and goes with the drop, which opens it; an image
    // alone is refused.
    void drops()
    {
        for (const bool text : {true, false}) {
            Home h;
            QMimeData data;
            text ? data.setText(ModelHarness::clipURL(1)) : data.setImageData(QColor(Qt::blue));
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            enter.setAccepted(false);
            QCoreApplication::sendEvent(&h.window, &enter);
            QCOMPARE(h.window.dropOverlay()->isVisible(), text);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&h.window, &drop);
            QVERIFY(!h.window.dropOverlay()->isVisible());
            QTRY_COMPARE_WITH_TIMEOUT(h.harness.model().sessions().size(), text ? 1 : 0, 2000);
        }
    }

    // A damaged history shows the warning line.
    void storageWarning()
    {
        ModelHarness harness;
        QDir().mkpath(QFileInfo(harness.historyFile()).absolutePath());
        QFile damaged(harness.historyFile());
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("[{") == 2);
        damaged.close();
        harness.restart();
        FakeImageFetcher fetcher;
        ThumbnailLoader thumbnails(fetcher, harness.home().cacheHome());
        HomeWindow window(harness.model(), harness.preferences(), thumbnails);
        window.show();
        QCOMPARE(window.storageWarningLabel()->text(), harness.model().storageWarning().value());
        QVERIFY(window.storageWarningLabel()->isVisible());
    }
};

QTEST_MAIN(TestHomeWindow)
#include "tst_homewindow.moc"
