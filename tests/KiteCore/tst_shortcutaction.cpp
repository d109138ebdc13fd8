#include "L10n.h"
#include "ShortcutAction.h"

#include <QSet>
#include <QTest>

#include <limits>

class TestShortcutAction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void knownActions_data()
    {
        QTest::addColumn<ShortcutAction>("action");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<quint32>("hotKeyID");
        QTest::addColumn<ShortcutGroup>("group");
        const auto row = [](const char *raw, ShortcutAction action, quint32 id, ShortcutGroup group) {
            QTest::newRow(raw) << action << QString::fromLatin1(raw) << id << group;
        };
        row("toggleAllWindows", ShortcutAction::toggleAllWindows, 1, ShortcutGroup::general);
        row("screenshot", ShortcutAction::screenshot, 4, ShortcutGroup::general);
        row("windowSmall", ShortcutAction::windowSmall, 5, ShortcutGroup::size);
        row("fitToVideo", ShortcutAction::fitToVideo, 10, ShortcutGroup::size);
        row("moveTopLeft", ShortcutAction::moveTopLeft, 11, ShortcutGroup::position);
        row("moveCenter", ShortcutAction::moveCenter, 15, ShortcutGroup::position);
        row("opacityUp", ShortcutAction::opacityUp, 16, ShortcutGroup::window);
        row("toggleCinema", ShortcutAction::toggleCinema, 19, ShortcutGroup::window);
        // The scale actions come last but belong with the other sizes.
        row("windowScaleUp", ShortcutAction::windowScaleUp, 20, ShortcutGroup::size);
        row("windowScaleDown", ShortcutAction::windowScaleDown, 21, ShortcutGroup::size);
    }

    void knownActions()
    {
        QFETCH(ShortcutAction, action);
        QFETCH(QString, raw);
        QFETCH(quint32, hotKeyID);
        QFETCH(ShortcutGroup, group);
        QCOMPARE(toRaw(action), raw);
        QCOMPARE(shortcutActionFromRaw(raw), action);
        QCOMPARE(ShortcutActions::hotKeyID(action), hotKeyID);
        QCOMPARE(ShortcutActions::action(hotKeyID), action);
        QCOMPARE(ShortcutActions::group(action), group);
    }

    void everyActionRoundTrips()
    {
        QSet<QString> raws;
        quint32 expectedID = 1;
        for (ShortcutAction action : ShortcutActions::allCases) {
            QCOMPARE(ShortcutActions::hotKeyID(action), expectedID++);
            QCOMPARE(ShortcutActions::action(ShortcutActions::hotKeyID(action)), action);
            QCOMPARE(shortcutActionFromRaw(toRaw(action)), action);
            raws.insert(toRaw(action));
        }
        QCOMPARE(raws.size(), 21);
    }

    void unknownIDsAndNames_data()
    {
        QTest::addColumn<quint32>("hotKeyID");
        QTest::addColumn<QString>("raw");
        QTest::newRow("zero / empty") << 0u << QString();
        QTest::newRow("one past the end / capitalised") << 22u << QStringLiteral("PlayPause");
        QTest::newRow("far out / padded") << 1000u << QStringLiteral("playPause ");
        QTest::newRow("max / group name")
            << std::numeric_limits<quint32>::max() << QStringLiteral("general");
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
        QTest::newRow("zh toggle") << AppLanguage::zh << ShortcutAction::toggleAllWindows
                                   << QStringLiteral("收起 / 恢复全部窗口");
        QTest::newRow("en play") << AppLanguage::en << ShortcutAction::playPause
                                 << QStringLiteral("Play / pause active window");
        QTest::newRow("es square") << AppLanguage::es << ShortcutAction::windowSquare
                                   << QStringLiteral("Cuadrada · 1:1");
        QTest::newRow("es pin") << AppLanguage::es << ShortcutAction::togglePin
                                << QStringLiteral("Alternar siempre encima");
        QTest::newRow("en scale down minus sign") << AppLanguage::en << ShortcutAction::windowScaleDown
                                                  << QStringLiteral("Scale down \u221210%");
        QTest::newRow("zh scale up") << AppLanguage::zh << ShortcutAction::windowScaleUp
                                     << QStringLiteral("按比例放大 +10%");
    }

    void titles()
    {
        QFETCH(AppLanguage, language);
        QFETCH(ShortcutAction, action);
        QFETCH(QString, title);
        L10n::setLanguage(language);
        QCOMPARE(ShortcutActions::title(action), title);
    }

    void groups_data()
    {
        QTest::addColumn<ShortcutGroup>("group");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QStringList>("titles"); // zh, en, es
        QTest::addColumn<int>("members");
        QTest::newRow("general") << ShortcutGroup::general << "general"
                                 << QStringList{"通用", "General", "General"} << 4;
        QTest::newRow("size") << ShortcutGroup::size << "size"
                              << QStringList{"窗口尺寸", "Window size", "Tamaño de ventana"} << 8;
        QTest::newRow("position")
            << ShortcutGroup::position << "position"
            << QStringList{"窗口位置", "Window position", "Posición de ventana"} << 5;
        QTest::newRow("window")
            << ShortcutGroup::window << "window"
            << QStringList{"窗口控制", "Window controls", "Controles de ventana"} << 4;
    }

    void groups()
    {
        QFETCH(ShortcutGroup, group);
        QFETCH(QString, raw);
        QFETCH(QStringList, titles);
        QFETCH(int, members);
        QCOMPARE(toRaw(group), raw);
        QCOMPARE(shortcutGroupFromRaw(raw), group);
        const AppLanguage languages[] = {AppLanguage::zh, AppLanguage::en, AppLanguage::es};
        for (int i = 0; i < 3; ++i) {
            L10n::setLanguage(languages[i]);
            QCOMPARE(ShortcutGroups::title(group), titles.at(i));
        }
        const auto inGroup = std::count_if(
            ShortcutActions::allCases.begin(), ShortcutActions::allCases.end(),
            [group](ShortcutAction action) { return ShortcutActions::group(action) == group; });
        QCOMPARE(inGroup, members);
        QVERIFY(!shortcutGroupFromRaw(raw.toUpper()).has_value());
    }
};

QTEST_GUILESS_MAIN(TestShortcutAction)
#include "tst_shortcutaction.moc"
