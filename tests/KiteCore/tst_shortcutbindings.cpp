#include "KiteCore/ShortcutBindings.h"

#include <QTest>

using Modifier = KeyCombo::Modifier;
using A = ShortcutAction;

namespace {
const KeyCombo ctrlAltF(3, {Modifier::control, Modifier::option});
const KeyCombo superK(40, {Modifier::command});
const QString playPause = R"("playPause":{"keyCode":35,"modifiers":["control","option"]})";
} // namespace

class TestShortcutBindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A valid combination bound to two or more actions, listed in action order.
    void conflicts()
    {
        struct Row { ShortcutBindingMap bindings; QList<QList<A>> groups; };
        const Row rows[] = {{ShortcutBindings::defaults(), {}},
                            {{{A::windowScaleDown, superK}, {A::toggleAllWindows, superK}, {A::playPause, ctrlAltF}},
                             {{A::toggleAllWindows, A::windowScaleDown}}},
                            {{{A::moveCenter, ctrlAltF}, {A::screenshot, ctrlAltF}, {A::togglePin, ctrlAltF}, {A::opacityUp, superK},
                              {A::opacityDown, superK}}, {{A::screenshot, A::moveCenter, A::togglePin}, {A::opacityUp, A::opacityDown}}},
                            {{{A::moveTopLeft, KeyCombo(40, {})}, {A::moveTopRight, KeyCombo(40, {})}}, {}}};
        for (const Row &row : rows) {
            std::map<KeyCombo, QList<A>> expected;
            QSet<A> inConflict;
            for (const QList<A> &group : row.groups) {
                expected[row.bindings.at(group.first())] = group;
                inConflict.unite(QSet<A>(group.begin(), group.end()));
            }
            QVERIFY(ShortcutBindings::conflicts(row.bindings) == expected);
            QVERIFY(ShortcutBindings::actionsInConflict(row.bindings) == inConflict);
        }
        QCOMPARE(ShortcutBindings::defaults().at(A::pasteAndOpen).displayString(), "Ctrl+Alt+V");
    }

    // The stored form; every action, modifier and key code comes back from it.
    void encode()
    {
        ShortcutBindingMap all{{A::screenshot, KeyCombo(126, {Modifier::command, Modifier::shift, Modifier::option, Modifier::control})}};
        QCOMPARE(ShortcutBindings::encode(all), R"({"screenshot":{"keyCode":126,"modifiers":["control","option","shift","command"]}})");
        for (A action : ShortcutActions::allCases)
            all[action] = KeyCombo(quint32(action) * 7, {KeyCombo::allModifiers[quint32(action) % 4]});
        all[A::playPause] = KeyCombo(4294967295u, {Modifier::shift});
        for (const ShortcutBindingMap &bindings : {all, ShortcutBindingMap()})
            QVERIFY(ShortcutBindings::decode(ShortcutBindings::encode(bindings)) == bindings);
    }

    // Anything malformed, even under an unknown name, refuses the whole text; unknown names and
    // combinations without modifiers are dropped.
    void decode()
    {
        struct Row { const char *member; KeyCombo screenshot = {}; bool refused = false; };
        const KeyCombo shift1(1, {Modifier::shift});
        const Row rows[] = {{R"("fly":{"keyCode":1,"modifiers":["shift"]})"}, {R"("screenshot":{"keyCode":1,"modifiers":[]})"},
                            {R"("screenshot":{"keyCode":1.0,"modifiers":["shift","shift"],"x":1})", shift1},
                            {R"("fly":{"keyCode":1,"modifiers":["fn"]})", {}, true},
                            {R"("screenshot":{"keyCode":1,"modifiers":[4096]})", {}, true},
                            {R"("screenshot":{"keyCode":1,"modifiers":"shift"})", {}, true},
                            {R"("screenshot":{"modifiers":["shift"]})", {}, true},
                            {R"("screenshot":{"keyCode":-1,"modifiers":["shift"]})", {}, true},
                            {R"("screenshot":{"keyCode":3.5,"modifiers":["shift"]})", {}, true},
                            {R"("screenshot":{"keyCode":4294967296,"modifiers":["shift"]})", {}, true},
                            {R"("screenshot":{"keyCode":"3","modifiers":["shift"]})", {}, true}, {R"("screenshot":[3])", {}, true}};
        for (const Row &row : rows) {
            ShortcutBindingMap expected = {{A::playPause, KeyCombo(35, {Modifier::control, Modifier::option})}};
            if (row.screenshot.isValid())
                expected[A::screenshot] = row.screenshot;
            const auto decoded = ShortcutBindings::decode(u'{' + QString::fromUtf8(row.member) + u',' + playPause + u'}');
            QVERIFY2(row.refused ? !decoded : decoded == expected, row.member);
        }
        for (const QString &text : {QString(), QStringLiteral(" "), QStringLiteral("[]"), QStringLiteral("{} x"),
                                    QString::fromUtf8("\xff{}"), QString(200000, u'[') + QString(200000, u']')})
            QVERIFY2(!ShortcutBindings::decode(text), qPrintable(text.left(20)));
    }
};

QTEST_GUILESS_MAIN(TestShortcutBindings)
#include "tst_shortcutbindings.moc"
