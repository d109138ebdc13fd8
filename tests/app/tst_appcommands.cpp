#include "ModelHarness.h"

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
    ModelHarness harness;
    AppCommands commands{harness.model()};
    QSignalSpy home{&commands, &AppCommands::homeRequested};
    QSignalSpy settings{&commands, &AppCommands::settingsRequested};
    QSignalSpy hideRest{&commands, &AppCommands::applicationHideRequested};
};

struct Row {
    const char *name;
    int clips;
    // Which clip's window is the active window; -1 for none.
    int active;
    std::function<void(AppCommands &)> command;
    std::function<bool(Fixture &)> outcome;
};

bool allHidden(const AppModel &model)
{
    return std::ranges::all_of(model.sessions(), &PlaybackSession::isHidden);
}

const QList<Row> &rows()
{
    static const QList<Row> table{
        {"accounts: settings on the account tab", 0, -1, &AppCommands::showAccounts,
         [](Fixture &f) {
             return f.settings.count() == 1
                    && f.harness.model().settingsTabRequest() == QStringLiteral("account");
         }},
        {"the model's request for the home window reaches the shell", 0, -1,
         &AppCommands::recoverAll, [](Fixture &f) { return f.home.count() == 1; }},
        {"hide Lumivane: every player hidden, the shell asked for the rest", 2, 0,
         &AppCommands::hideApplication,
         [](Fixture &f) { return allHidden(f.harness.model()) && f.hideRest.count() == 1; }},
        {"open externally: the active window's source, the window stays", 2, 1,
         &AppCommands::openExternalForActiveWindow,
         [](Fixture &f) {
             return f.harness.workspace().openedUrls() == QList<QUrl>{QUrl(ModelHarness::clipURL(1))}
                    && f.harness.model().sessions().size() == 2;
         }},
        {"open externally without an active player window: nothing", 1, -1,
         &AppCommands::openExternalForActiveWindow,
         [](Fixture &f) { return f.harness.workspace().openedUrls().isEmpty(); }},
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

        r.command(f.commands);

        QVERIFY(r.outcome(f));
    }
};

QTEST_MAIN(TestAppCommands)
#include "tst_appcommands.moc"
