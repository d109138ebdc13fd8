#include "KiteCore/ShortcutBindings.h"

#include <QTest>

using Modifier = KeyCombo::Modifier;
using A = ShortcutAction;

class TestShortcutBindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A valid combination bound to two or more actions, listed in action order.
    void conflictsAndStoredForm()
    {
        const KeyCombo ctrlAltF(3, {Modifier::control, Modifier::option}), superK(40, {Modifier::command}), bareK(40, {});
        struct Row { ShortcutBindingMap bindings; std::map<KeyCombo, QList<A>> expected; };
        const Row rows[] = {{ShortcutBindings::defaults(), {}},
                            {{{A::windowScaleDown, superK}, {A::toggleAllWindows, superK}, {A::moveTopLeft, bareK}, {A::moveTopRight, bareK}},
                             {{superK, {A::toggleAllWindows, A::windowScaleDown}}}},
                            {{{A::moveCenter, ctrlAltF}, {A::screenshot, ctrlAltF}, {A::togglePin, ctrlAltF}, {A::opacityUp, superK}, {A::opacityDown, superK}},
                             {{ctrlAltF, {A::screenshot, A::moveCenter, A::togglePin}}, {superK, {A::opacityUp, A::opacityDown}}}}};
        for (const Row &row : rows) {
            QSet<A> inConflict;
            for (const auto &[combo, actions] : row.expected)
                inConflict.unite(QSet<A>(actions.begin(), actions.end()));
            QVERIFY(ShortcutBindings::conflicts(row.bindings) == row.expected && ShortcutBindings::actionsInConflict(row.bindings) == inConflict);
        }
        QVERIFY(ShortcutBindings::defaults().at(A::pasteAndOpen).displayString() == "Ctrl+Alt+V" && ShortcutBindings::defaults().size() == 3);

        // The stored form; every action, modifier and key code comes back from it. Anything malformed,
        // even under an unknown name, refuses the whole text; unknown names and combinations without
        // modifiers are dropped.
        ShortcutBindingMap all{{A::screenshot, KeyCombo(126, {Modifier::command, Modifier::shift, Modifier::option, Modifier::control})}};
        QCOMPARE(ShortcutBindings::encode(all), R"({"screenshot":{"keyCode":126,"modifiers":["control","option","shift","command"]}})");
        for (A action : ShortcutActions::allCases)
            all[action] = KeyCombo(quint32(action) * 7, {KeyCombo::allModifiers[quint32(action) % 4]});
        all[A::playPause] = KeyCombo(4294967295u, {Modifier::shift});
        for (const ShortcutBindingMap &bindings : {all, ShortcutBindingMap()})
            QVERIFY(ShortcutBindings::decode(ShortcutBindings::encode(bindings)) == bindings);
        const auto decoded = [](const char *screenshot) {
            return ShortcutBindings::decode(QStringLiteral(R"({"fly":{"keyCode":1,"modifiers":["shift"]},"screenshot":%1})").arg(screenshot));
        };
        QVERIFY(decoded(R"({"keyCode":1,"modifiers":[]})") == ShortcutBindingMap());
        QVERIFY(decoded(R"({"keyCode":1.0,"modifiers":["shift","shift"],"x":1})") == ShortcutBindingMap({{A::screenshot, KeyCombo(1, {Modifier::shift})}}));
        for (const char *refused : {R"({"keyCode":1,"modifiers":["fn"]})", R"({"keyCode":1,"modifiers":[4096]})", R"({"keyCode":1,"modifiers":"shift"})",
                                    R"({"modifiers":["shift"]})", R"({"keyCode":-1,"modifiers":["shift"]})", R"({"keyCode":3.5,"modifiers":["shift"]})",
                                    R"({"keyCode":4294967296,"modifiers":["shift"]})", R"({"keyCode":"3","modifiers":["shift"]})", "[3]"})
            QVERIFY2(!decoded(refused), refused);
        for (const QString &text : {QString(), QStringLiteral("[]"), QStringLiteral(R"({"fly":[3]})"), QString(200000, u'[') + QString(200000, u']')})
            QVERIFY2(!ShortcutBindings::decode(text), qPrintable(text.left(20)));
    }
};

QTEST_GUILESS_MAIN(TestShortcutBindings)
#include "tst_shortcutbindings.moc"
