#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutAction.h"

#include <QTest>

#include <algorithm>
#include <limits>

class TestShortcutAction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void actions_data()
    {
        QTest::addColumn<ShortcutAction>("action");
        QTest::addColumn<quint32>("hotKeyID");
        QTest::addColumn<ShortcutGroup>("group");
        QTest::newRow("toggleAllWindows") << ShortcutAction::toggleAllWindows << 1u
                                          << ShortcutGroup::general;
        QTest::newRow("fitToVideo") << ShortcutAction::fitToVideo << 10u << ShortcutGroup::size;
        QTest::newRow("moveCenter") << ShortcutAction::moveCenter << 15u << ShortcutGroup::position;
        QTest::newRow("toggleCinema") << ShortcutAction::toggleCinema << 19u << ShortcutGroup::window;
        // The scale actions come last but belong with the other sizes.
        QTest::newRow("windowScaleUp") << ShortcutAction::windowScaleUp << 20u << ShortcutGroup::size;
        QTest::newRow("windowScaleDown") << ShortcutAction::windowScaleDown << 21u
                                         << ShortcutGroup::size;
    }

    void actions()
    {
        QFETCH(ShortcutAction, action);
        QFETCH(quint32, hotKeyID);
        QFETCH(ShortcutGroup, group);
        QCOMPARE(toRaw(action), QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(ShortcutActions::hotKeyID(action), hotKeyID);
        QCOMPARE(ShortcutActions::action(hotKeyID), action);
        QCOMPARE(ShortcutActions::group(action), group);
    }

    void everyActionRoundTrips()
    {
        // The raw values are the stored identity; their order is the hot-key id order.
        const QStringList raws{
            "toggleAllWindows", "playPause",      "pasteAndOpen",   "screenshot",  "windowSmall",
            "windowStandard",   "windowLarge",    "windowPortrait", "windowSquare", "fitToVideo",
            "moveTopLeft",      "moveTopRight",   "moveBottomLeft", "moveBottomRight", "moveCenter",
            "opacityUp",        "opacityDown",    "togglePin",      "toggleCinema", "windowScaleUp",
            "windowScaleDown"};
        QCOMPARE(qsizetype(ShortcutActions::allCases.size()), raws.size());
        quint32 expectedID = 1;
        for (ShortcutAction action : ShortcutActions::allCases) {
            QCOMPARE(toRaw(action), raws[expectedID - 1]);
            QCOMPARE(ShortcutActions::hotKeyID(action), expectedID++);
            QCOMPARE(ShortcutActions::action(ShortcutActions::hotKeyID(action)), action);
            QCOMPARE(shortcutActionFromRaw(toRaw(action)), action);
        }
    }

    void unknownIDsAndNames_data()
    {
        QTest::addColumn<quint32>("hotKeyID");
        QTest::addColumn<QString>("raw");
        QTest::newRow("zero / empty") << 0u << QString();
        QTest::newRow("one past the end / capitalised") << 22u << QStringLiteral("PlayPause");
        QTest::newRow("far out / padded") << 1000u << QStringLiteral("playPause ");
        QTest::newRow("max / group name") << std::numeric_limits<quint32>::max() << "general";
    }

    void unknownIDsAndNames()
    {
        QFETCH(quint32, hotKeyID);
        QFETCH(QString, raw);
        QVERIFY(!ShortcutActions::action(hotKeyID).has_value());
        QVERIFY(!shortcutActionFromRaw(raw).has_value());
    }

    void titles_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<ShortcutAction>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("groupTitle");
        QTest::newRow("zh") << AppLanguage::zh << ShortcutAction::toggleAllWindows
                            << "收起 / 恢复全部窗口" << "通用";
        QTest::newRow("en") << AppLanguage::en << ShortcutAction::windowScaleDown
                            << "Scale down \u221210%" << "Window size";
        QTest::newRow("es") << AppLanguage::es << ShortcutAction::moveTopLeft << "Arriba izquierda"
                            << "Posición de ventana";
        QTest::newRow("es window") << AppLanguage::es << ShortcutAction::togglePin
                                   << "Alternar siempre encima" << "Controles de ventana";
    }

    void titles()
    {
        QFETCH(AppLanguage, language);
        QFETCH(ShortcutAction, action);
        QFETCH(QString, title);
        QFETCH(QString, groupTitle);
        L10n::setLanguage(language);
        QCOMPARE(ShortcutActions::title(action), title);
        QCOMPARE(ShortcutGroups::title(ShortcutActions::group(action)), groupTitle);
    }

    void groups()
    {
        const QStringList raws{"general", "size", "position", "window"};
        const QList<int> members{4, 8, 5, 4};
        for (qsizetype i = 0; i < raws.size(); ++i) {
            const ShortcutGroup group = ShortcutGroups::allCases[std::size_t(i)];
            QCOMPARE(toRaw(group), raws[i]);
            QCOMPARE(shortcutGroupFromRaw(raws[i]), group);
            const auto count = std::ranges::count_if(ShortcutActions::allCases, [group](auto a) {
                return ShortcutActions::group(a) == group;
            });
            QCOMPARE(count, members[i]);
        }
        QVERIFY(!shortcutGroupFromRaw(QStringLiteral("Size")).has_value());
    }
};

QTEST_GUILESS_MAIN(TestShortcutAction)
#include "tst_shortcutaction.moc"
