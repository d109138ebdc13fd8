#include "KiteCore/ShortcutBindings.h"

#include <QTest>

using Modifier = KeyCombo::Modifier;
using A = ShortcutAction;
using Groups = QList<QList<ShortcutAction>>;

namespace {
const KeyCombo ctrlAltF(3, {Modifier::control, Modifier::option});
const KeyCombo ctrlAltP(35, {Modifier::control, Modifier::option});
const KeyCombo superK(40, {Modifier::command});
const KeyCombo bareK(40, {});

const QString validCombo = QStringLiteral(R"({"keyCode":35,"modifiers":["control","option"]})");

// Every action bound, each to its own combination, using every modifier and a wide key range.
ShortcutBindingMap allBound()
{
    ShortcutBindingMap bindings;
    quint32 code = 0;
    for (ShortcutAction action : ShortcutActions::allCases) {
        KeyCombo::ModifierSet modifiers;
        const quint32 mask = code % 15 + 1; // every non-empty subset of the four
        for (quint32 bit = 0; bit < 4; ++bit) {
            if (mask & (1u << bit))
                modifiers.insert(KeyCombo::allModifiers[bit]);
        }
        bindings[action] = KeyCombo(code * 6, modifiers);
        ++code;
    }
    bindings[ShortcutAction::windowScaleDown] = KeyCombo(4294967295u, {Modifier::shift});
    return bindings;
}
} // namespace

class TestShortcutBindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults()
    {
        const ShortcutBindingMap bindings = ShortcutBindings::defaults();
        QCOMPARE(bindings.size(), std::size_t(3));
        QCOMPARE(bindings.at(ShortcutAction::toggleAllWindows).displayString(), "Ctrl+Alt+F");
        QCOMPARE(bindings.at(ShortcutAction::playPause).displayString(), "Ctrl+Alt+P");
        QCOMPARE(bindings.at(ShortcutAction::pasteAndOpen).displayString(), "Ctrl+Alt+V");
        QVERIFY(ShortcutBindings::conflicts(bindings).empty());
    }

    void conflicts_data()
    {
        QTest::addColumn<ShortcutBindingMap>("bindings");
        QTest::addColumn<Groups>("expected");
        QTest::newRow("none bound") << ShortcutBindingMap{} << Groups{};
        QTest::newRow("pair in action order")
            << ShortcutBindingMap{{A::windowScaleDown, superK}, {A::toggleAllWindows, superK},
                                  {A::playPause, ctrlAltP}}
            << Groups{{A::toggleAllWindows, A::windowScaleDown}};
        QTest::newRow("three and two")
            << ShortcutBindingMap{{A::moveCenter, ctrlAltF}, {A::screenshot, ctrlAltF},
                                  {A::togglePin, ctrlAltF}, {A::opacityUp, superK},
                                  {A::opacityDown, superK}}
            << Groups{{A::screenshot, A::moveCenter, A::togglePin}, {A::opacityUp, A::opacityDown}};
        QTest::newRow("bare combination never conflicts")
            << ShortcutBindingMap{{A::playPause, superK}, {A::screenshot, superK},
                                  {A::moveTopLeft, bareK}, {A::moveTopRight, bareK}}
            << Groups{{A::playPause, A::screenshot}};
        QTest::newRow("same key, other modifiers")
            << ShortcutBindingMap{{A::playPause, KeyCombo(40, {Modifier::shift})},
                                  {A::screenshot, superK}}
            << Groups{};
        QTest::newRow("same modifiers, other key")
            << ShortcutBindingMap{{A::playPause, ctrlAltF}, {A::screenshot, ctrlAltP}} << Groups{};
    }

    void conflicts()
    {
        QFETCH(ShortcutBindingMap, bindings);
        QFETCH(Groups, expected);
        const auto found = ShortcutBindings::conflicts(bindings);
        QCOMPARE(found.size(), std::size_t(expected.size()));
        QSet<ShortcutAction> union_;
        for (const QList<ShortcutAction> &group : expected) {
            const KeyCombo &combo = bindings.at(group.first());
            QVERIFY(found.contains(combo));
            QCOMPARE(found.at(combo), group);
            union_.unite(QSet<ShortcutAction>(group.begin(), group.end()));
        }
        QCOMPARE(ShortcutBindings::actionsInConflict(bindings), union_);
    }

    void encodeForm_data()
    {
        QTest::addColumn<ShortcutBindingMap>("bindings");
        QTest::addColumn<QString>("json");
        QTest::newRow("empty") << ShortcutBindingMap{} << "{}";
        QTest::newRow("one") << ShortcutBindingMap{{ShortcutAction::playPause, ctrlAltP}}
                             << QStringLiteral(R"({"playPause":)") + validCombo + u'}';
        QTest::newRow("all modifiers")
            << ShortcutBindingMap{{ShortcutAction::screenshot,
                                   KeyCombo(126, {Modifier::command, Modifier::shift,
                                                  Modifier::option, Modifier::control})}}
            << R"({"screenshot":{"keyCode":126,"modifiers":["control","option","shift","command"]}})";
    }

    void encodeForm()
    {
        QFETCH(ShortcutBindingMap, bindings);
        QFETCH(QString, json);
        QCOMPARE(ShortcutBindings::encode(bindings), json);
    }

    void roundTrip_data()
    {
        QTest::addColumn<ShortcutBindingMap>("bindings");
        QTest::newRow("defaults") << ShortcutBindings::defaults();
        QTest::newRow("all 21 bound") << allBound();
        QTest::newRow("empty") << ShortcutBindingMap{};
    }

    void roundTrip()
    {
        QFETCH(ShortcutBindingMap, bindings);
        const std::optional<ShortcutBindingMap> decoded =
            ShortcutBindings::decode(ShortcutBindings::encode(bindings));
        QVERIFY(decoded.has_value());
        QCOMPARE(*decoded, bindings);
    }

    void decode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("present");
        QTest::addColumn<ShortcutBindingMap>("expected");
        // One member under test beside a well-formed playPause member.
        const auto member = [](const char *name, const char *combo) {
            return QStringLiteral(R"({"%1":%2,"playPause":%3})")
                .arg(QString::fromUtf8(name), QString::fromUtf8(combo), validCombo);
        };
        const auto present = [](const char *name, const QString &text, const KeyCombo &shot) {
            ShortcutBindingMap expected{{ShortcutAction::playPause, ctrlAltP}};
            if (shot.isValid())
                expected[ShortcutAction::screenshot] = shot;
            QTest::newRow(name) << text << true << expected;
        };
        const auto absent = [](const char *name, const QString &text) {
            QTest::newRow(name) << text << false << ShortcutBindingMap{};
        };
        const KeyCombo shift1(1, {Modifier::shift});
        absent("null text", QString());
        absent("empty text", QStringLiteral(""));
        absent("blank text", QStringLiteral("  \n"));
        QTest::newRow("empty object") << "{}" << true << ShortcutBindingMap{};
        present("unknown action skipped", member("fly", R"({"keyCode":1,"modifiers":["shift"]})"), {});
        present("no modifiers skipped", member("screenshot", R"({"keyCode":1,"modifiers":[]})"), {});
        present("duplicate modifier",
                member("screenshot", R"({"keyCode":1,"modifiers":["shift","shift"]})"), shift1);
        present("integral float, extra field",
                member("screenshot", R"({"keyCode":1.0,"modifiers":["shift"],"x":1})"), shift1);
        present("largest key code",
                member("screenshot", R"({"keyCode":4294967295,"modifiers":["shift"]})"),
                KeyCombo(4294967295u, {Modifier::shift}));
        absent("unknown modifier", member("screenshot", R"({"keyCode":1,"modifiers":["hyper"]})"));
        absent("bad member of unknown action", member("fly", R"({"keyCode":1,"modifiers":["fn"]})"));
        absent("modifier not a string", member("screenshot", R"({"keyCode":1,"modifiers":[4096]})"));
        absent("modifiers not a list", member("screenshot", R"({"keyCode":1,"modifiers":"shift"})"));
        absent("missing modifiers", member("screenshot", R"({"keyCode":1})"));
        absent("missing keyCode", member("screenshot", R"({"modifiers":["shift"]})"));
        absent("negative keyCode", member("screenshot", R"({"keyCode":-1,"modifiers":["shift"]})"));
        absent("fractional keyCode", member("screenshot", R"({"keyCode":3.5,"modifiers":["shift"]})"));
        absent("keyCode past 32 bits",
               member("screenshot", R"({"keyCode":4294967296,"modifiers":["shift"]})"));
        absent("keyCode past 64 bits",
               member("screenshot", R"({"keyCode":1e30,"modifiers":["shift"]})"));
        absent("keyCode as text", member("screenshot", R"({"keyCode":"3","modifiers":["shift"]})"));
        absent("member not an object", member("screenshot", "[3]"));
        absent("top-level array", QStringLiteral("[]"));
        absent("top-level null", QStringLiteral("null"));
        absent("truncated", QStringLiteral(R"({"playPause":{"keyCode":35)"));
        absent("trailing garbage", QStringLiteral("{} x"));
        absent("not json", QStringLiteral("playPause=ctrl+alt+p"));
        absent("invalid UTF-8 outside strings", QString::fromUtf8("\xff\xfe{}"));
        // A damaged name no longer names an action: dropped, the rest still decodes.
        present("invalid UTF-8 in a name", member("scr\xc3(", validCombo.toUtf8().constData()), {});
        present("lone surrogate in a name",
                QStringLiteral("{\"a") + QChar(0xD800) + QStringLiteral("\":") + validCombo
                    + QStringLiteral(",\"playPause\":") + validCombo + u'}',
                {});
    }

    void decode()
    {
        QFETCH(QString, text);
        QFETCH(bool, present);
        QFETCH(ShortcutBindingMap, expected);
        const std::optional<ShortcutBindingMap> decoded = ShortcutBindings::decode(text);
        QCOMPARE(decoded.has_value(), present);
        if (decoded)
            QCOMPARE(*decoded, expected);
    }

    void hugeInput()
    {
        // Many unknown members around one real one: the real one survives.
        QString text = QStringLiteral("{");
        for (int i = 0; i < 100000; ++i)
            text += QStringLiteral(R"("junk%1":{"keyCode":%1,"modifiers":["shift"]},)").arg(i);
        text += QStringLiteral(R"("playPause":)") + validCombo + u'}';
        const auto decoded = ShortcutBindings::decode(text);
        QVERIFY(decoded.has_value());
        QCOMPARE(*decoded, (ShortcutBindingMap{{ShortcutAction::playPause, ctrlAltP}}));

        // Nesting far deeper than any parser stack: refused, not crashed.
        QVERIFY(!ShortcutBindings::decode(QString(200000, u'[') + QString(200000, u']')));
        QVERIFY(!ShortcutBindings::decode(QString(8 * 1024 * 1024, u'{')));
    }
};

QTEST_GUILESS_MAIN(TestShortcutBindings)
#include "tst_shortcutbindings.moc"
