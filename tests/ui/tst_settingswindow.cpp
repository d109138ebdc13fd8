#include "FakeHotKeyService.h"
#include "FakeWebDataStore.h"
#include "ModelHarness.h"
#include "app/GlobalShortcuts.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsWindow.h"
#include "ui/ShortcutRecorderButton.h"
#include "ui/ToggleSwitch.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {
SettingsContext contextOf(ModelHarness &harness)
{
    return {harness.model(), harness.preferences(), nullptr, false, {}};
}
} // namespace

class TestSettingsWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every control stores its setting the moment it is used.
    void controlsStoreAtOnce()
    {
        ModelHarness harness;
        SettingsWindow window(contextOf(harness));
        struct Row {
            SettingsTab tab;
            const char *key;
            QVariant stored;
        };
        const QList<Row> rows{{SettingsTab::window, "lockAspect", false},
                              {SettingsTab::playback, "webCleanup", false},
                              {SettingsTab::language, "saveHistory", false},
                              {SettingsTab::window, "globalShortcuts", false},
                              {SettingsTab::appearance, "alwaysOnTop", false}};
        for (const Row &row : rows) {
            window.selectTab(row.tab);
            QTest::mouseClick(window.findChild<ToggleSwitch *>(QLatin1StringView(row.key)), Qt::LeftButton);
            QCOMPARE(harness.settings().value(QLatin1StringView(row.key)), row.stored);
        }
        QTest::mouseClick(window.findChild<SegmentedControl *>(u"defaultWidth"_qs)->button(2), Qt::LeftButton);
        QCOMPARE(harness.settings().value(u"defaultWidth"_qs).toDouble(), 960.0);
    }

    // A player chosen elsewhere that this desktop does not offer still reads, as not installed.
    void externalPlayer()
    {
        ModelHarness harness;
        harness.preferences().setExternalPlayer(u"iina"_qs);
        SettingsWindow window(contextOf(harness));
        window.selectTab(SettingsTab::playback);
        auto *picker = window.findChild<QComboBox *>(u"externalPlayer"_qs);
        QCOMPARE(picker->currentText(), u"IINA (not installed)"_qs);
        Q_EMIT picker->activated(picker->findData(u"vlc"_qs));
        QCOMPARE(harness.settings().value(u"externalPlayer"_qs).toString(), u"vlc"_qs);
    }

    // A new language rebuilds the window in place: same tab, the accounts page kept.
    void languageAndAccountsPage()
    {
        ModelHarness harness;
        SettingsWindow window(contextOf(harness));
        QPointer<QWidget> accounts = new QWidget();
        window.setAccountsPage(accounts);
        window.selectTab(SettingsTab::account);
        harness.preferences().setLanguage(AppLanguage::es);
        QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), u"Ajustes"_qs, 1000);
        QVERIFY(accounts && window.isAncestorOf(accounts));
        QCOMPARE(window.tab(), SettingsTab::account);
        QTRY_VERIFY_WITH_TIMEOUT(accounts->isVisibleTo(&window), 1000);
    }

    // Confirmed, the web data is cleared once, the note shows and the window tells others.
    void clearWebData()
    {
        ModelHarness harness;
        FakeWebDataStore store;
        SettingsWindow window({harness.model(), harness.preferences(), &store, false, {}});
        QSignalSpy told(&window, &SettingsWindow::webDataCleared);
        window.selectTab(SettingsTab::language);
        QTest::mouseClick(window.findChild<QPushButton *>(u"clearWebData"_qs), Qt::LeftButton);
        QCOMPARE(store.clearings(), 0);
        auto *box = window.findChild<QMessageBox *>();
        QTest::mouseClick(box->findChild<QPushButton *>(u"confirmButton"_qs), Qt::LeftButton);
        QCOMPARE(store.clearings(), 1);
        QCOMPARE(told.count(), 1);
        QCOMPARE(window.findChild<QLabel *>(u"webDataNote"_qs)->text(),
                 u"✓ Web cache, cookies and sign-ins were cleared."_qs);
    }

    // A pending request picks the tab when the window is made and is cleared afterwards; a
    // later one does the same; one that names no tab changes nothing.
    void tabRequests()
    {
        ModelHarness harness;
        AppModel &model = harness.model();
        model.setSettingsTabRequest(u"window"_qs);
        SettingsWindow window(contextOf(harness));
        QCOMPARE(window.tab(), SettingsTab::window);
        QTRY_VERIFY_WITH_TIMEOUT(!model.settingsTabRequest(), 1000);
        model.setSettingsTabRequest(u"account"_qs);
        QCOMPARE(window.tab(), SettingsTab::account);
        QTRY_VERIFY_WITH_TIMEOUT(!model.settingsTabRequest(), 1000);
        model.setSettingsTabRequest(u"accounts"_qs);
        QCoreApplication::processEvents();
        QCOMPARE(window.tab(), SettingsTab::account);
        QCOMPARE(model.settingsTabRequest(), u"accounts"_qs);
    }

    // One key pressed while "Paste and open" listens; the global hot keys pause meanwhile.
    void recorder()
    {
        ModelHarness harness;
        Preferences &preferences = harness.preferences();
        SettingsWindow window(contextOf(harness));
        FakeHotKeyService service;
        GlobalShortcuts shortcuts(&service, preferences);
        connect(&window, &SettingsWindow::recordingStarted, &shortcuts, &GlobalShortcuts::recordingStarted);
        connect(&window, &SettingsWindow::recordingStopped, &shortcuts, &GlobalShortcuts::recordingStopped);
        window.selectTab(SettingsTab::window);
        auto *button = window.findChild<ShortcutRecorderButton *>(u"recorder-pasteAndOpen"_qs);
        auto *hint = button->parentWidget()->findChild<QLabel *>(u"recorderHint"_qs);
        struct Row {
            const char *name;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            QString shown;
            QString hint;
        };
        const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
        const QList<Row> rows{
            {"records", Qt::Key_K, ctrlAlt, u"Ctrl+Alt+K"_qs, {}},
            {"Esc cancels", Qt::Key_Escape, {}, u"Ctrl+Alt+V"_qs, {}},
            {"Backspace clears", Qt::Key_Backspace, {}, u"Record"_qs, {}},
            {"bare key refused", Qt::Key_K, {}, u"Press keys…"_qs, u"Use a modifier + a key"_qs},
            {"used elsewhere", Qt::Key_P, ctrlAlt, u"Press keys…"_qs,
             u"Used by “Play / pause active window”"_qs},
        };
        for (const Row &row : rows) {
            preferences.setShortcutBindings(ShortcutBindings::defaults());
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY2(service.registered().isEmpty(), row.name);
            QVERIFY(preferences.shortcutStatus().startsWith(u"Recording"_qs));
            QTest::keyClick(button, row.key, row.modifiers);
            const bool listening = !row.hint.isEmpty();
            QVERIFY2(button->text() == row.shown || (listening && button->text().endsWith(u'…')), row.name);
            QVERIFY2(hint->text() == row.hint, row.name);
            QVERIFY2(button->isRecording() == listening, row.name);
            QVERIFY2(service.registered().isEmpty() == listening, row.name);
            QTest::keyClick(button, Qt::Key_Escape);
        }
    }

    // Confirmed, clearing empties the history, favourites included, and the summary says so.
    void clearHistory()
    {
        ModelHarness harness;
        harness.openClip(1);
        SettingsWindow window(contextOf(harness));
        window.selectTab(SettingsTab::language);
        auto *summary = window.findChild<QLabel *>(u"historySummary"_qs);
        QCOMPARE(summary->text(), u"1 items, 0 favorites."_qs);
        QTest::mouseClick(window.findChild<QPushButton *>(u"clearHistory"_qs), Qt::LeftButton);
        auto *box = window.findChild<QMessageBox *>();
        QTest::mouseClick(box->findChild<QPushButton *>(u"confirmButton"_qs), Qt::LeftButton);
        QVERIFY(harness.model().history().isEmpty());
        QCOMPARE(summary->text(), u"There is nothing saved right now."_qs);
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
