#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutRecorder.h"

#include <QTest>

using Modifier = KeyCombo::Modifier;
using Outcome = ShortcutRecorder::Outcome;
using A = ShortcutAction;

class TestShortcutRecorder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // Carrying a decision out changes the recording action's binding and nothing else.
    void decide()
    {
        struct Row {
            const char *name; quint32 code; KeyCombo::ModifierSet modifiers; Outcome outcome;
            QString hint = {}; std::optional<A> usedBy = {}; A action = A::screenshot;
        };
        const KeyCombo::ModifierSet ctrlAlt{Modifier::control, Modifier::option}, ctrlShift{Modifier::control, Modifier::shift};
        const QString needModifier = "Use a modifier + a key";
        const Row rows[] = {
            {"esc", 53, ctrlAlt, Outcome::cancel},
            {"backspace", 51, {}, Outcome::clear, {}, {}, A::playPause},
            {"delete", 117, {Modifier::shift}, Outcome::clear},
            {"letter alone", 1, {}, Outcome::reject, needModifier},
            {"right super key", 54, {Modifier::command}, Outcome::reject, needModifier},
            {"fn key", 63, {Modifier::control}, Outcome::reject, needModifier},
            {"taken", 3, ctrlAlt, Outcome::reject, "Used by “Toggle all windows”", A::toggleAllWindows},
            {"own combination", 3, ctrlAlt, Outcome::accept, {}, {}, A::toggleAllWindows},
            {"more modifiers", 3, {Modifier::control, Modifier::option, Modifier::shift}, Outcome::accept},
            {"first taker in action order", 40, ctrlShift, Outcome::reject, "Used by “Center window”", A::moveCenter},
            {"key past the modifiers", 64, {Modifier::command}, Outcome::accept},
        };
        ShortcutBindingMap bindings = ShortcutBindings::defaults();
        bindings[A::windowScaleDown] = bindings[A::moveCenter] = KeyCombo(40, ctrlShift);
        L10n::setLanguage(AppLanguage::en);
        for (const Row &row : rows) {
            const auto decision = ShortcutRecorder::decide(row.action, row.code, row.modifiers, bindings);
            QVERIFY2(decision.outcome == row.outcome && decision.hint == row.hint && decision.usedBy == row.usedBy, row.name);
            ShortcutBindingMap expected = bindings;
            if (row.outcome == Outcome::clear)
                expected.erase(row.action);
            if (row.outcome == Outcome::accept)
                expected[row.action] = KeyCombo(row.code, row.modifiers);
            QVERIFY2(ShortcutRecorder::apply(decision, row.action, bindings) == expected, row.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestShortcutRecorder)
#include "tst_shortcutrecorder.moc"
