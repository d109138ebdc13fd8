#include "KiteCore/KeyCombo.h"

#include <QList>
#include <QTest>

#include <limits>
#include <map>

using Modifier = KeyCombo::Modifier;

namespace {
// Builds the set in the given order, as a caller assembling it key by key would.
KeyCombo::ModifierSet setOf(const QList<Modifier> &modifiers)
{
    KeyCombo::ModifierSet set;
    for (Modifier modifier : modifiers)
        set.insert(modifier);
    return set;
}
} // namespace

class TestKeyCombo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyName_data()
    {
        QTest::addColumn<quint32>("keyCode");
        QTest::addColumn<QString>("name");
        const auto row = [](quint32 code, const char *name) {
            QTest::addRow("%u", code) << code << QString::fromUtf8(name);
        };
        row(0, "A"); row(5, "G"); row(9, "V"); row(10, "键码 10");
        row(11, "B"); row(17, "T"); row(18, "1"); row(22, "6"); row(23, "5"); row(24, "=");
        row(27, "-"); row(29, "0"); row(30, "]"); row(33, "["); row(35, "P");
        row(36, "Return"); row(37, "L"); row(39, "'"); row(41, ";"); row(42, "\\"); row(43, ",");
        row(44, "/"); row(47, "."); row(48, "Tab"); row(49, "Space"); row(50, "`");
        row(51, "Backspace"); row(52, "键码 52"); row(53, "Esc");
        row(54, "Super"); row(55, "Super"); row(56, "Shift"); row(57, "Caps Lock"); row(58, "Alt");
        row(59, "Ctrl"); row(60, "Shift"); row(61, "Alt"); row(62, "Ctrl");
        row(63, "键码 63"); row(80, "键码 80"); row(95, "键码 95");
        row(96, "F5"); row(97, "F6"); row(98, "F7"); row(99, "F3"); row(100, "F8"); row(101, "F9");
        row(102, "键码 102"); row(103, "F11"); row(104, "键码 104"); row(108, "键码 108");
        row(109, "F10"); row(110, "键码 110"); row(111, "F12"); row(112, "键码 112");
        row(113, "键码 113"); row(114, "Help"); row(115, "Home"); row(116, "Page Up");
        row(117, "Delete"); row(118, "F4"); row(119, "End"); row(120, "F2"); row(121, "Page Down");
        row(122, "F1"); row(123, "Left"); row(124, "Right"); row(125, "Down"); row(126, "Up");
        row(127, "键码 127"); row(65535, "键码 65535");
        row(std::numeric_limits<quint32>::max(), "键码 4294967295");
    }

    void keyName()
    {
        QFETCH(quint32, keyCode);
        QFETCH(QString, name);
        QCOMPARE(KeyCombo::keyName(keyCode), name);
    }

    void exactly83NamedKeys()
    {
        int named = 0;
        for (quint32 code = 0; code < 1024; ++code)
            named += KeyCombo::keyName(code).startsWith(QStringLiteral("键码 ")) ? 0 : 1;
        QCOMPARE(named, 83);
    }

    void derivedValues_data()
    {
        QTest::addColumn<quint32>("keyCode");
        QTest::addColumn<QList<Modifier>>("modifiers");
        QTest::addColumn<QString>("display");
        QTest::addColumn<quint32>("carbon");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ctrl alt f") << 3u << QList{Modifier::control, Modifier::option}
                                    << "Ctrl+Alt+F" << 6144u << true;
        QTest::newRow("all four reversed")
            << 126u << QList{Modifier::command, Modifier::shift, Modifier::option, Modifier::control}
            << "Ctrl+Alt+Shift+Super+Up" << 6912u << true;
        QTest::newRow("all four shuffled")
            << 126u << QList{Modifier::shift, Modifier::control, Modifier::command, Modifier::option}
            << "Ctrl+Alt+Shift+Super+Up" << 6912u << true;
        QTest::newRow("unnamed key") << 10u << QList{Modifier::control} << "Ctrl+键码 10" << 4096u
                                     << true;
        QTest::newRow("super shift space") << 49u << QList{Modifier::command, Modifier::shift}
                                           << "Shift+Super+Space" << 768u << true;
        QTest::newRow("alt only") << 122u << QList{Modifier::option} << "Alt+F1" << 2048u << true;
        QTest::newRow("no modifier") << 0u << QList<Modifier>{} << "A" << 0u << false;
        QTest::newRow("duplicates collapse")
            << 1u << QList{Modifier::shift, Modifier::shift} << "Shift+S" << 512u << true;
    }

    void derivedValues()
    {
        QFETCH(quint32, keyCode);
        QFETCH(QList<Modifier>, modifiers);
        QFETCH(QString, display);
        QFETCH(quint32, carbon);
        QFETCH(bool, valid);
        const KeyCombo combo(keyCode, setOf(modifiers));
        QCOMPARE(combo.displayString(), display);
        QCOMPARE(combo.carbonModifiers(), carbon);
        QCOMPARE(combo.isValid(), valid);
    }

    void equalityHashAndOrder()
    {
        const QList<KeyCombo> distinct{
            KeyCombo(3, {}),
            KeyCombo(3, {Modifier::control}),
            KeyCombo(3, {Modifier::command}),
            KeyCombo(3, {Modifier::control, Modifier::option}),
            KeyCombo(4, {Modifier::control, Modifier::option}),
            KeyCombo(std::numeric_limits<quint32>::max(), {Modifier::shift}),
        };
        std::map<KeyCombo, int> keyed;
        for (qsizetype i = 0; i < distinct.size(); ++i) {
            keyed[distinct[i]] = int(i);
            for (qsizetype j = 0; j < distinct.size(); ++j) {
                const KeyCombo &a = distinct[i], &b = distinct[j];
                QCOMPARE(a == b, i == j);
                // Exactly one of a < b, b < a, a == b holds.
                QCOMPARE(int(a < b) + int(b < a) + int(a == b), 1);
            }
        }
        QCOMPARE(keyed.size(), std::size_t(distinct.size()));

        const KeyCombo built(3, setOf({Modifier::option, Modifier::control}));
        QCOMPARE(built, distinct[3]);
        QCOMPARE(qHash(built, 7), qHash(distinct[3], 7));
        QCOMPARE(keyed.at(built), 3);
        QVERIFY(qHash(distinct[1]) != qHash(distinct[2]));
    }

    void modifierRawValues()
    {
        const QStringList raws{"control", "option", "shift", "command"};
        for (qsizetype i = 0; i < raws.size(); ++i) {
            QCOMPARE(toRaw(KeyCombo::allModifiers[std::size_t(i)]), raws[i]);
            QCOMPARE(keyComboModifierFromRaw(raws[i]), KeyCombo::allModifiers[std::size_t(i)]);
        }
        for (const char *unknown : {"Control", "ctrl", "fn", ""})
            QVERIFY(!keyComboModifierFromRaw(QString::fromLatin1(unknown)).has_value());
    }
};

QTEST_GUILESS_MAIN(TestKeyCombo)
#include "tst_keycombo.moc"
