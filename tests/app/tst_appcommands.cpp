#include "ModelHarness.h"
#include "TemporaryHome.h"

#include "app/AppCommands.h"
#include "app/AppModel.h"
#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <functional>

namespace {
struct Fixture {
    // Frames are saved below the home folder.
    TemporaryHome home;
    ModelHarness harness;
    AppCommands commands{harness.model()};
    QSignalSpy homeWindow{&commands, &AppCommands::homeRequested};
    QSignalSpy settings{&commands, &AppCommands::settingsRequested};
    QSignalSpy hideRest{&commands, &AppCommands::applicationHideRequested};
};

struct Row {
    const char *name;
    int clips;
    // Which clip's window is the active window; -1 for none.
    int active;
    std::function<void(Fixture &)> act;
    std::function<bool(Fixture &)> outcome;
};

// Which sessions' players were asked for a frame (each request is answered, as failed).
QList<bool> frameRequests(Fixture &f)
{
    QList<bool> asked;
    for (const PlaybackSession *session : f.harness.model().sessions())
        asked << f.harness.player(*session)->completeFrameRequest(false, u"test"_qs);
    return asked;
}

bool allHidden(const AppModel &model)
{
    return std::ranges::all_of(model.sessions(), &PlaybackSession::isHidden);
}

const QList<Row> &rows()
{
    static const QList<Row> table{
        {"accounts: settings on the account tab", 0, -1, [](Fixture &f) { f.commands.showAccounts(); },
         [](Fixture &f) {
             return f.settings.count() == 1
                    && f.harness.model().settingsTabRequest() == QStringLiteral("account");
         }},
        {"the model's request for the home window reaches the shell", 0, -1,
         [](Fixture &f) { f.commands.recoverAll(); }, [](Fixture &f) { return f.homeWindow.count() == 1; }},
        {"hide Lumivane: every player hidden, the shell asked for the rest", 2, 0,
         [](Fixture &f) { f.commands.hideApplication(); },
         [](Fixture &f) { return allHidden(f.harness.model()) && f.hideRest.count() == 1; }},
        {"open externally: the active window's source, the window stays", 2, 1,
         [](Fixture &f) { f.commands.openExternalForActiveWindow(); },
         [](Fixture &f) {
             return f.harness.workspace().openedUrls() == QList<QUrl>{QUrl(ModelHarness::clipURL(1))}
                    && f.harness.model().sessions().size() == 2;
         }},
        {"open externally without an active player window: nothing", 1, -1,
         [](Fixture &f) { f.commands.openExternalForActiveWindow(); },
         [](Fixture &f) { return f.harness.workspace().openedUrls().isEmpty(); }},
        {"capture frame: the active player window", 2, 0,
         [](Fixture &f) { f.commands.captureFrame(); },
         [](Fixture &f) { return frameRequests(f) == QList<bool>{true, false}; }},
        {"capture frame without one: the first window that is not hidden", 3, -1,
         [](Fixture &f) {
             f.harness.model().hide(*f.harness.model().sessions().first());
             f.commands.captureFrame();
         },
         [](Fixture &f) { return frameRequests(f) == QList<bool>{false, true, false}; }},
    };
    return table;
}
} // namespace

class TestAppCommands final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < rows().size(); ++i)
            QTest::newRow(rows().at(i).name) << i;
    }

    void commands()
    {
        QFETCH(int, row);
        const Row &r = rows().at(row);
        Fixture f;
        for (int n = 0; n < r.clips; ++n)
            f.harness.openClip(n);
        QApplication::setActiveWindow(nullptr);
        if (r.active >= 0) {
            QWidget *window = f.harness.model().controller(*f.harness.model().sessions().at(r.active))->window();
            QApplication::setActiveWindow(window);
            QCOMPARE(f.commands.activeSession(), f.harness.model().sessions().at(r.active));
        }

        r.act(f);

        QVERIFY(r.outcome(f));
    }
};

QTEST_MAIN(TestAppCommands)
#include "tst_appcommands.moc"
