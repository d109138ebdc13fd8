#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutRecorder.h"

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
        ShortcutBindingMap bindings = ShortcutBindings::defaults();
        const auto row = [&bindings](const char *name, quint32 code, const Modifiers &modifiers,
                                     Outcome outcome, const QString &hint = {},
                                     std::optional<ShortcutAction> usedBy = {},
                                     ShortcutAction action = ShortcutAction::screenshot) {
            QTest::newRow(name) << action << code << modifiers << bindings << outcome << hint
                                << usedBy;
        };
        const QString needModifier = QStringLiteral("Use a modifier + a key");
        row("esc", 53, {}, Outcome::cancel);
        row("esc with modifiers", 53, ctrlAlt, Outcome::cancel);
        row("backspace", 51, {}, Outcome::clear, {}, {}, ShortcutAction::playPause);
        row("delete with modifier", 117, {Modifier::shift}, Outcome::clear);
        row("letter alone", 1, {}, Outcome::reject, needModifier);
        row("F1 alone", 122, {}, Outcome::reject, needModifier);
        row("shift key", 56, {Modifier::shift}, Outcome::reject, needModifier);
        row("right super key", 54, {Modifier::command}, Outcome::reject, needModifier);
        row("right ctrl key", 62, {Modifier::control}, Outcome::reject, needModifier);
        row("caps lock", 57, {Modifier::shift}, Outcome::reject, needModifier);
        row("fn key", 63, {Modifier::control}, Outcome::reject, needModifier);
        row("taken by default", 3, ctrlAlt, Outcome::reject,
            QStringLiteral("Used by “Toggle all windows”"), ShortcutAction::toggleAllWindows);
        row("own combination again", 3, ctrlAlt, Outcome::accept, {}, {},
            ShortcutAction::toggleAllWindows);
        row("same key, more modifiers", 3, {Modifier::control, Modifier::option, Modifier::shift},
            Outcome::accept);
        row("unnamed key with modifier", 64, {Modifier::command}, Outcome::accept);
        bindings = withSharedK();
        row("first taker in action order", 40, ctrlShiftK.modifiers(), Outcome::reject,
            QStringLiteral("Used by “Center window”"), ShortcutAction::moveCenter);
        bindings.clear();
        row("nothing bound yet", 1, {Modifier::control}, Outcome::accept);
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
