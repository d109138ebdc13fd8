#include "ui/ShortcutRecorderButton.h"

#include "ui/KeyCapture.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutRecorder.h"

#include <QKeyEvent>

namespace {
bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock: return true;
    default: return false;
    }
}
} // namespace

ShortcutRecorderButton::ShortcutRecorderButton(ShortcutAction action, Preferences &preferences,
                                               QWidget *parent)
    : QPushButton(parent)
    , m_action(action)
    , m_preferences(preferences)
{
    setProperty("shellRole", QStringLiteral("recorder"));
    setCursor(Qt::PointingHandCursor);
    setCheckable(true);
    setAccessibleName(ShortcutActions::title(action));
    connect(this, &QPushButton::clicked, this, [this] {
        if (m_recording)
            stopRecording();
        else
            startRecording();
    });
    connect(&m_preferences, &Preferences::shortcutBindingsChanged, this,
            &ShortcutRecorderButton::showBinding);
    showBinding();
}

void ShortcutRecorderButton::startRecording()
{
    if (m_recording)
        return;
    m_recording = true;
    setFocus(Qt::OtherFocusReason);
    showBinding();
    Q_EMIT recordingStarted();
}

void ShortcutRecorderButton::stopRecording()
{
    if (!m_recording)
        return;
    m_recording = false;
    showBinding();
    Q_EMIT hintChanged({});
    Q_EMIT recordingStopped();
}

bool ShortcutRecorderButton::event(QEvent *event)
{
    if (!m_recording)
        return QPushButton::event(event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Keeps application shortcuts (Ctrl+O, Ctrl+Alt+F…) from taking the key.
        event->accept();
        return true;
    case QEvent::KeyPress:
        // Tab and Space are keys to record here, not focus moves or clicks.
        record(static_cast<const QKeyEvent &>(*event));
        return true;
    case QEvent::KeyRelease:
        return true;
    default:
        return QPushButton::event(event);
    }
}

void ShortcutRecorderButton::focusOutEvent(QFocusEvent *event)
{
    stopRecording();
    QPushButton::focusOutEvent(event);
}

void ShortcutRecorderButton::record(const QKeyEvent &key)
{
    const KeyCombo::ModifierSet held = KeyCapture::modifiers(key.modifiers());
    // A modifier pressed on its way to a combination is no attempt yet: it shows what is held.
    if (isModifierKey(key.key())) {
        showHeld(held);
        return;
    }
    const std::optional<quint32> code = KeyCapture::keyCode(key.key());
    if (!code)
        return;
    const ShortcutBindingMap bindings = m_preferences.shortcutBindings();
    const ShortcutRecorder::Decision decision =
        ShortcutRecorder::decide(m_action, *code, held, bindings);
    if (decision.outcome == ShortcutRecorder::Outcome::reject) {
        Q_EMIT hintChanged(decision.hint);
        return;
    }
    if (decision.outcome != ShortcutRecorder::Outcome::cancel)
        m_preferences.setShortcutBindings(ShortcutRecorder::apply(decision, m_action, bindings));
    stopRecording();
}

void ShortcutRecorderButton::showHeld(const KeyCombo::ModifierSet &held)
{
    QString text;
    for (KeyCombo::Modifier modifier : held)
        text += KeyCombo::modifierName(modifier) + u'+';
    setText(text + QStringLiteral("…"));
}

void ShortcutRecorderButton::showBinding()
{
    setChecked(m_recording);
    if (m_recording) {
        setText(L("请按组合键…", "Press keys…", "Pulsa las teclas…"));
        return;
    }
    const ShortcutBindingMap &bindings = m_preferences.shortcutBindings();
    const auto bound = bindings.find(m_action);
    setText(bound == bindings.end() ? L("录制", "Record", "Grabar") : bound->second.displayString());
}
