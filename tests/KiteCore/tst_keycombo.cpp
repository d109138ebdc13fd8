#include "KiteCore/KeyCombo.h"

#include <QTest>

#include <map>

using Modifier = KeyCombo::Modifier;

class TestKeyCombo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each stretch of the name table at its ends, and codes without a name.
    void keyName()
    {
        struct Row { quint32 code; const char *name; };
        const Row rows[] = {{0, "A"}, {9, "V"}, {10, "键码 10"}, {11, "B"}, {17, "T"}, {18, "1"}, {35, "P"}, {36, "Return"},
                            {37, "L"}, {47, "."}, {52, "键码 52"}, {53, "Esc"}, {54, "Super"}, {59, "Ctrl"}, {63, "键码 63"},
                            {96, "F5"}, {126, "Up"}, {127, "键码 127"}, {4294967295u, "键码 4294967295"}};
        for (const Row &row : rows)
            QCOMPARE(KeyCombo::keyName(row.code), row.name);
    }

    // Modifiers show in one order however they were added; without one a combination is unusable.
    void derivedValues()
    {
        struct Row { KeyCombo combo; const char *display; quint32 carbon; };
        const Row rows[] = {{{3, {Modifier::option, Modifier::control}}, "Ctrl+Alt+F", 6144},
                            {{126, {Modifier::command, Modifier::shift, Modifier::option, Modifier::control}}, "Ctrl+Alt+Shift+Super+Up", 6912},
                            {{10, {Modifier::control}}, "Ctrl+键码 10", 4096}, {{1, {Modifier::shift}}, "Shift+S", 512},
                            {{49, {Modifier::command}}, "Super+Space", 256}, {{0, {}}, "A", 0}};
        for (const Row &row : rows) {
            QVERIFY2(row.combo.displayString() == row.display && row.combo.carbonModifiers() == row.carbon, row.display);
            QCOMPARE(row.combo.isValid(), row.carbon != 0);
        }
    }

    void equalityHashAndOrder()
    {
        const QList<KeyCombo> distinct{{3, {}}, {3, {Modifier::control}}, {3, {Modifier::command}},
                                       {3, {Modifier::control, Modifier::option}}, {4, {Modifier::control, Modifier::option}}};
        std::map<KeyCombo, qsizetype> keyed;
        for (qsizetype i = 0; i < distinct.size(); ++i) {
            keyed[distinct[i]] = i;
            for (qsizetype j = 0; j < distinct.size(); ++j)
                QCOMPARE(int(distinct[i] < distinct[j]) + int(distinct[j] < distinct[i]) + int(i == j), 1);
        }
        const KeyCombo built(3, {Modifier::option, Modifier::control});
        QVERIFY(keyed.at(built) == 3 && qHash(built, 7) == qHash(distinct[3], 7) && qHash(distinct[1]) != qHash(distinct[2]));
        for (Modifier modifier : KeyCombo::allModifiers)
            QCOMPARE(keyComboModifierFromRaw(toRaw(modifier)), modifier);
        QVERIFY(toRaw(Modifier::option) == "option" && !keyComboModifierFromRaw("Control") && !keyComboModifierFromRaw("fn"));
    }
};

QTEST_GUILESS_MAIN(TestKeyCombo)
#include "tst_keycombo.moc"
