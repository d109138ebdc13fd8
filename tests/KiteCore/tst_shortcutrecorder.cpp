#include "L10n.h"
#include "ShortcutRecorder.h"

#include <QTest>

using Modifier = KeyCombo::Modifier;
using Outcome = ShortcutRecorder::Outcome;
using Modifiers = KeyCombo::ModifierSet;

namespace {
const Modifiers ctrlAlt{Modifier::control, Modifier::option};
const KeyCombo ctrlShiftK(40, {Modifier::control, Modifier::shift});

// Two later actions already share Ctrl+Shift+K; the earlier one in action order is reported.
ShortcutBindingMap withSharedK()
{
    ShortcutBindingMap bindings = ShortcutBindings::defaults();
    bindings[ShortcutAction::windowScaleDown] = ctrlShiftK;
    bindings[ShortcutAction::moveCenter] = ctrlShiftK;
    return bindings;
}
} // namespace

class TestShortcutRecorder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void decide_data()
    {
        QTest::addColumn<ShortcutAction>("action");
        QTest::addColumn<quint32>("keyCode");
        QTest::addColumn<Modifiers>("modifiers");
        QTest::addColumn<ShortcutBindingMap>("bindings");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<std::optional<ShortcutAction>>("usedBy");
        const ShortcutBindingMap defaults = ShortcutBindings::defaults();
        const QString needModifier = QStringLiteral("Use a modifier + a key");
        const std::optional<ShortcutAction> nobody;
        const auto row = [&](const char *name, ShortcutAction action, quint32 code,
                             const Modifiers &modifiers, const ShortcutBindingMap &bindings,
                             Outcome outcome, const QString &hint,
                             std::optional<ShortcutAction> usedBy) {
            QTest::newRow(name) << action << code << modifiers << bindings << outcome << hint
                                << usedBy;
        };
        const ShortcutAction shot = ShortcutAction::screenshot;
        row("esc", shot, 53, {}, defaults, Outcome::cancel, {}, nobody);
        row("esc with modifiers", shot, 53, ctrlAlt, defaults, Outcome::cancel, {}, nobody);
        row("backspace", ShortcutAction::playPause, 51, {}, defaults, Outcome::clear, {}, nobody);
        row("delete with modifier", shot, 117, {Modifier::shift}, defaults, Outcome::clear, {}, nobody);
        row("letter alone", shot, 1, {}, defaults, Outcome::reject, needModifier, nobody);
        row("F1 alone", shot, 122, {}, defaults, Outcome::reject, needModifier, nobody);
        row("shift key", shot, 56, {Modifier::shift}, defaults, Outcome::reject, needModifier, nobody);
        row("right super key", shot, 54, {Modifier::command}, defaults, Outcome::reject, needModifier, nobody);
        row("right ctrl key", shot, 62, {Modifier::control}, defaults, Outcome::reject, needModifier, nobody);
        row("caps lock", shot, 57, {Modifier::shift}, defaults, Outcome::reject, needModifier, nobody);
        row("fn key", shot, 63, {Modifier::control}, defaults, Outcome::reject, needModifier, nobody);
        row("taken by default", shot, 3, ctrlAlt, defaults, Outcome::reject,
            QStringLiteral("Used by “Toggle all windows”"), ShortcutAction::toggleAllWindows);
        row("first taker in action order", shot, 40, ctrlShiftK.modifiers(), withSharedK(),
            Outcome::reject, QStringLiteral("Used by “Center window”"), ShortcutAction::moveCenter);
        row("own combination again", ShortcutAction::toggleAllWindows, 3, ctrlAlt, defaults,
            Outcome::accept, {}, nobody);
        row("same key, more modifiers", shot, 3, {Modifier::control, Modifier::option, Modifier::shift},
            defaults, Outcome::accept, {}, nobody);
        row("unnamed key with modifier", shot, 64, {Modifier::command}, defaults, Outcome::accept, {}, nobody);
        row("nothing bound yet", shot, 1, {Modifier::control}, {}, Outcome::accept, {}, nobody);
    }

    void decide()
    {
        QFETCH(ShortcutAction, action);
        QFETCH(quint32, keyCode);
        QFETCH(Modifiers, modifiers);
        QFETCH(ShortcutBindingMap, bindings);
        QFETCH(Outcome, outcome);
        QFETCH(QString, hint);
        QFETCH(std::optional<ShortcutAction>, usedBy);
        const ShortcutRecorder::Decision decision =
            ShortcutRecorder::decide(action, keyCode, modifiers, bindings);
        QCOMPARE(decision.outcome, outcome);
        QCOMPARE(decision.hint, hint);
        QCOMPARE(decision.usedBy, usedBy);
        QCOMPARE(decision.combo, KeyCombo(keyCode, modifiers));

        // Carrying the decision out changes the action's binding and nothing else.
        const ShortcutBindingMap after = ShortcutRecorder::apply(decision, action, bindings);
        ShortcutBindingMap expected = bindings;
        if (outcome == Outcome::clear)
            expected.erase(action);
        if (outcome == Outcome::accept)
            expected[action] = KeyCombo(keyCode, modifiers);
        QCOMPARE(after, expected);
    }

    void hintLanguages_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("needModifier");
        QTest::addColumn<QString>("usedBy");
        QTest::newRow("zh") << AppLanguage::zh << "需要至少一个修饰键 + 普通键"
                            << "已被「播放 / 暂停当前窗口」占用";
        QTest::newRow("en") << AppLanguage::en << "Use a modifier + a key"
                            << "Used by “Play / pause active window”";
        QTest::newRow("es") << AppLanguage::es << "Usa un modificador + una tecla"
                            << "Usado por «Reproducir / pausar»";
    }

    void hintLanguages()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QString, needModifier);
        QFETCH(QString, usedBy);
        L10n::setLanguage(language);
        const ShortcutBindingMap bindings = ShortcutBindings::defaults();
        const ShortcutAction shot = ShortcutAction::screenshot;
        QCOMPARE(ShortcutRecorder::decide(shot, 35, {}, bindings).hint, needModifier);
        QCOMPARE(ShortcutRecorder::decide(shot, 35, ctrlAlt, bindings).hint, usedBy);
    }
};

QTEST_GUILESS_MAIN(TestShortcutRecorder)
#include "tst_shortcutrecorder.moc"
