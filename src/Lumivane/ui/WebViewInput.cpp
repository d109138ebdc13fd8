#include "ui/WebViewInput.h"

#include "platform/DebugLog.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

WebViewInput::WebViewInput(QObject *parent)
    : QObject(parent)
{
}

void WebViewInput::watch(QWidget *view)
{
    if (view == m_view)
        return;
    if (m_view)
        unwatchTree(*m_view);
    m_view = view;
    if (m_view)
        watchTree(*m_view);
}

void WebViewInput::watchTree(QWidget &widget)
{
    widget.installEventFilter(this);
    for (QWidget *child : widget.findChildren<QWidget *>())
        child->installEventFilter(this);
}

void WebViewInput::unwatchTree(QWidget &widget)
{
    widget.removeEventFilter(this);
    for (QWidget *child : widget.findChildren<QWidget *>())
        child->removeEventFilter(this);
}

bool WebViewInput::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded: {
        // The engine adds its surface after the view was handed over.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            watchTree(*static_cast<QWidget *>(child));
        break;
    }
    case QEvent::MouseButtonPress: {
        // A press a child left unaccepted comes up again through its parents: count it
        // only where it landed first.
        const auto *press = static_cast<QMouseEvent *>(event);
        if (static_cast<QWidget *>(watched)->childAt(press->position().toPoint()) != nullptr)
            break;
        DebugLog::grab(QStringLiteral("webView.mouseDown"));
        Q_EMIT pressed();
        break;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            Q_EMIT escapePressed();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
