#include "FakeImageFetcher.h"
#include "ModelHarness.h"
#include "TrayProcess.h"

#include "app/AppCommands.h"
#include "app/AppModel.h"
#include "app/ThumbnailLoader.h"
#include "platform/QtStatusTray.h"
#include "playback/PlaybackSession.h"
#include "ui/Shell.h"
#include "ui/TrayPanel.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
constexpr int waitMs = 10000;

bool usable(const AppModel &model, PlaybackSession &session)
{
    const QWidget *window = model.controller(session)->window();
    return window->isVisible() && !session.isHidden() && !session.clickThrough();
}

QAction *actionNamed(const QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}
} // namespace

// The shell with the real tray icon in a real XEmbed tray, clicked by the X server.
class TestTray final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        L10n::setLanguage(AppLanguage::en);
        QVERIFY(m_trayer.start());
        m_commands = std::make_unique<AppCommands>(m_harness.model());
        m_tray = std::make_unique<QtStatusTray>(std::chrono::milliseconds(waitMs));
        m_shell = std::make_unique<Shell>(m_harness.model(), *m_commands, m_harness.preferences(),
                                          *m_tray, m_thumbnails, nullptr);
        QSignalSpy decided(m_tray.get(), &StatusTray::availabilityDecided);
        m_tray->start();
        QTRY_COMPARE_WITH_TIMEOUT(decided.count(), 1, waitMs);
        QVERIFY(m_tray->isAvailable());
        QVERIFY(m_shell->hasTray());
    }

    void cleanupTestCase()
    {
        m_shell.reset();
        m_tray.reset();
        m_trayer.stop();
    }

    void rightClickRestoresHiddenAndClickThroughWindows()
    {
        AppModel &model = m_harness.model();
        PlaybackSession *hidden = m_harness.openClip(1);
        PlaybackSession *ghost = m_harness.openClip(2);
        model.hide(*hidden);
        ghost->setClickThrough(true);
        QVERIFY(!usable(model, *hidden) && !usable(model, *ghost));

        QVERIFY(TrayProcess::clickIcon(3));
        QMenu *menu = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr, waitMs);
        QCOMPARE(menu, &m_shell->trayMenu());
        QAction *restore = actionNamed(*menu, u"Restore All Windows"_qs);
        QVERIFY(restore != nullptr);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(restore).center());

        QTRY_VERIFY_WITH_TIMEOUT(usable(model, *hidden) && usable(model, *ghost), waitMs);
        QVERIFY(!m_shell->panel().isVisible());
    }

    void leftClickOpensAndClosesThePanel()
    {
        QVERIFY(TrayProcess::clickIcon(1));
        QTRY_VERIFY_WITH_TIMEOUT(m_shell->panel().isVisible(), waitMs);
        QCOMPARE(m_shell->panel().rows().size(), m_harness.model().sessions().size());
        QVERIFY(TrayProcess::clickIcon(1));
        // Were the closing click handed on to the icon, the panel would open again at once.
        QTRY_VERIFY_WITH_TIMEOUT(!m_shell->panel().isVisible(), waitMs);
    }

    void languageChangeRebuildsMenusAndTitles()
    {
        m_harness.preferences().setLanguage(AppLanguage::es);
        QTRY_COMPARE(m_shell->menuBar()->actions().at(1)->text(), u"Archivo"_qs);
        QCOMPARE(m_shell->trayMenu().actions().first()->text(), u"Abrir panel de inicio"_qs);
        m_harness.preferences().setLanguage(AppLanguage::zh);
        QTRY_COMPARE(m_shell->home().windowTitle(), u"澜萤 Lumivane"_qs);
        m_harness.preferences().setLanguage(AppLanguage::en);
    }

private:
    TrayProcess m_trayer;
    ModelHarness m_harness;
    FakeImageFetcher m_fetcher;
    ThumbnailLoader m_thumbnails{m_fetcher, m_harness.home().cacheHome()};
    std::unique_ptr<AppCommands> m_commands;
    std::unique_ptr<QtStatusTray> m_tray;
    std::unique_ptr<Shell> m_shell;
};

QTEST_MAIN(TestTray)
#include "itst_tray.moc"
