#include "ui/PasteInterceptor.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
bool isTextField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) != nullptr
           || qobject_cast<const QTextEdit *>(widget) != nullptr
           || qobject_cast<const QPlainTextEdit *>(widget) != nullptr
           || qobject_cast<const QAbstractSpinBox *>(widget) != nullptr;
}
} // namespace

PasteInterceptor::PasteInterceptor(QWidget &window)
    : QObject(&window)
    , m_window(&window)
{
    // Key events go to the focused child, which may be any widget of the window.
    qApp->installEventFilter(this);
}

PasteInterceptor::~PasteInterceptor()
{
    qApp->removeEventFilter(this);
}

bool PasteInterceptor::concerns(QObject *watched, const QKeyEvent &key) const
{
    const auto *widget = qobject_cast<const QWidget *>(watched);
    if (widget == nullptr || m_window == nullptr || widget->window() != m_window)
        return false;
    if (key.key() != Qt::Key_V || key.modifiers() != Qt::ControlModifier)
        return false;
    return !isTextField(QApplication::focusWidget());
}

bool PasteInterceptor::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    if (!concerns(watched, *static_cast<QKeyEvent *>(event)))
        return false;
    // Accepting the override turns the key into a plain key press (the Edit menu's Paste
    // shortcut does not fire); the press is where the paste happens.
    event->accept();
    if (type == QEvent::KeyPress)
        Q_EMIT pasted();
    return true;
}
