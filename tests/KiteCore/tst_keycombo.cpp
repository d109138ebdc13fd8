#include "KiteCore/KeyCombo.h"

#include <QTest>

using Modifier = KeyCombo::Modifier;

class TestKeyCombo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each stretch of the name table at its ends, and codes without a name.
    void keyName()
    {
        struct Row { quint32 code; const char *name; };
        const Row rows[] = {{0, "A"}, {10, "键码 10"}, {17, "T"}, {35, "P"}, {36, "Return"}, {47, "."}, {52, "键码 52"}, {53, "Esc"},
                            {54, "Super"}, {63, "键码 63"}, {96, "F5"}, {126, "Up"}, {127, "键码 127"}, {4294967295u, "键码 4294967295"}};
        for (const Row &row : rows)
            QCOMPARE(KeyCombo::keyName(row.code), row.name);
    }

    // Modifiers show in one order however they were added; without one a combination is unusable.
    // Equal combinations are one key of a map and hash alike.
    void combinations()
    {
        struct Row { KeyCombo combo; const char *display; quint32 carbon; };
        const Row rows[] = {{{3, {Modifier::control}}, "Ctrl+F", 4096}, {{3, {Modifier::command}}, "Super+F", 256},
                            {{3, {Modifier::option, Modifier::control}}, "Ctrl+Alt+F", 6144},
                            {{126, {Modifier::command, Modifier::shift, Modifier::option, Modifier::control}}, "Ctrl+Alt+Shift+Super+Up", 6912},
                            {{10, {Modifier::shift}}, "Shift+键码 10", 512}, {{3, {}}, "F", 0}};
        for (const Row &row : rows)
            QVERIFY2(row.combo.displayString() == row.display && row.combo.carbonModifiers() == row.carbon && row.combo.isValid() == (row.carbon != 0),
                     row.display);
        // The hash agrees with equality.
        QVERIFY(qHash(KeyCombo(3, {Modifier::control, Modifier::option}), 7) == qHash(rows[2].combo, 7) && qHash(rows[0].combo) != qHash(rows[1].combo));
        for (Modifier modifier : KeyCombo::allModifiers)
            QCOMPARE(keyComboModifierFromRaw(toRaw(modifier)), modifier);
        QVERIFY(toRaw(Modifier::option) == "option" && !keyComboModifierFromRaw("Control") && !keyComboModifierFromRaw("fn"));
    }
};

QTEST_GUILESS_MAIN(TestKeyCombo)
#include "tst_keycombo.moc"
