#include "ui/OverlayRules.h"

#include "KiteCore/L10n.h"

#include <QTest>

using OverlayRules::EscapeAction;

class TestOverlayRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // Labels use a dot whatever the locale (the tests run under a German one).
    void labels()
    {
        struct Row { double value; QString time; QString speed; QString percent; };
        const QList<Row> rows{
            {qQNaN(), u"0:00"_qs, {}, u"0%"_qs},
            {-0.2, u"0:00"_qs, {}, u"0%"_qs},
            {0.754, u"0:01"_qs, u"0.754×"_qs, u"75%"_qs},
            {1.5, u"0:02"_qs, u"1.5×"_qs, u"100%"_qs},
            {2, u"0:02"_qs, u"2×"_qs, u"100%"_qs},
            {59.6, u"1:00"_qs, {}, {}},
            {3599.4, u"59:59"_qs, {}, {}},
            {3599.5, u"1:00:00"_qs, {}, {}},
            {3600.0 * 125 + 65, u"125:01:05"_qs, {}, {}},
        };
        for (const Row &row : rows) {
            QCOMPARE(OverlayRules::timeLabel(row.value), row.time);
            QVERIFY(row.speed.isNull() || OverlayRules::speedLabel(row.value) == row.speed);
            QVERIFY(row.percent.isNull() || OverlayRules::percentLabel(row.value) == row.percent);
        }
        QCOMPARE(OverlayRules::timeLabel(1e300).count(u':'), 2);
    }

    // A speed is checked within 0.01 of the offered value.
    void currentSpeed()
    {
        QVERIFY(OverlayRules::isCurrentSpeed(1.009, 1.0));
        QVERIFY(OverlayRules::isCurrentSpeed(0.991, 1.0));
        QVERIFY(!OverlayRules::isCurrentSpeed(1.011, 1.0));
        QVERIFY(!OverlayRules::isCurrentSpeed(qQNaN(), 1.0));
    }

    void visibility()
    {
        struct Row { OverlayRules::VisibilityInputs inputs; bool visible; };
        const QList<Row> rows{
            {{.autoHide = true, .ready = true}, false},
            {{.autoHide = false, .ready = true}, true},
            {{.controlsPinned = true, .ready = true}, true},
            {{.ready = false}, true},
            {{.ready = true, .hovering = true}, true},
            {{.ready = true, .linger = true}, true},
        };
        for (const Row &row : rows)
            QCOMPARE(OverlayRules::controlsVisible(row.inputs), row.visible);
    }

    // Escape leaves cinema first, then click-through, else closes the window.
    void escapeOrder()
    {
        QCOMPARE(OverlayRules::escapeAction(true, true), EscapeAction::exitCinema);
        QCOMPARE(OverlayRules::escapeAction(false, true), EscapeAction::endClickThrough);
        QCOMPARE(OverlayRules::escapeAction(false, false), EscapeAction::closeWindow);
    }

    // Native seeks are clamped by the session; a page gets no negative time. Nothing to
    // scrub to without a length.
    void seekTargets()
    {
        QCOMPARE(OverlayRules::skipTarget(4, -10, MediaKind::localFile), -6.0);
        QCOMPARE(OverlayRules::skipTarget(4, -10, MediaKind::web), 0.0);
        QCOMPARE(OverlayRules::skipTarget(4, 10, MediaKind::web), 14.0);
        QCOMPARE(OverlayRules::scrubSeconds(0.5, 120), 60.0);
        QCOMPARE(OverlayRules::scrubSeconds(1.3, 120), 120.0);
        QCOMPARE(OverlayRules::scrubSeconds(-0.2, 120), 0.0);
        QCOMPARE(OverlayRules::scrubSeconds(0.5, qQNaN()), 0.0);
        QCOMPARE(OverlayRules::scrubSeconds(qQNaN(), 120), 0.0);
    }

    void failureIcons()
    {
        QCOMPARE(OverlayRules::failureIconName(AppError::Kind::network), u"kind-network"_qs);
        QCOMPARE(OverlayRules::failureIconName(AppError::Kind::storage), u"kind-storage"_qs);
    }

    // The bound restore shortcut is named; without one, the menu item.
    void clickThroughMessage()
    {
        L10n::setLanguage(AppLanguage::es);
        QVERIFY(OverlayRules::clickThroughMessage(u"Ctrl+Alt+R"_qs, true).contains(u"pulsa Ctrl+Alt+R"_qs));
        L10n::setLanguage(AppLanguage::en);
        const QString unbound = OverlayRules::clickThroughMessage(QString(), true);
        QVERIFY2(unbound.contains(u"tray icon → Restore All Windows"_qs) && !unbound.contains(u"press"_qs), qPrintable(unbound));
        const QString noTray = OverlayRules::clickThroughMessage(u"Ctrl+Alt+F"_qs, false);
        QVERIFY2(noTray.contains(u"Playback → Restore All Windows"_qs) && !noTray.contains(u"tray"_qs), qPrintable(noTray));
    }
};

QTEST_GUILESS_MAIN(TestOverlayRules)
#include "tst_overlayrules.moc"
