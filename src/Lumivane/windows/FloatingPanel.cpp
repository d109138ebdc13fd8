#include "FloatingPanel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWindow>

FloatingPanel::FloatingPanel(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    // Create the native window now so that its events can be watched before any child
    // sees them, and so that window-manager properties can be set before it is mapped.
    winId();
    windowHandle()->installEventFilter(this);
}

void FloatingPanel::setKeyHandler(KeyHandler handler)
{
    m_keyHandler = std::move(handler);
}

void FloatingPanel::setContent(QWidget *content)
{
    layout()->addWidget(content);
}

void FloatingPanel::setDragAnywhere(bool on)
{
    m_dragAnywhere = on;
}

bool FloatingPanel::startDrag()
{
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton))
        return false;
    beginDrag(QCursor::pos());
    return true;
}

void FloatingPanel::beginDrag(const QPoint &globalPress)
{
    if (windowHandle()->startSystemMove())
        return;
    // No window manager to hand the move to: follow the pointer until the button is released.
    m_dragOffset = globalPress - pos();
}

bool FloatingPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != windowHandle())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return m_keyHandler && m_keyHandler(*static_cast<QKeyEvent *>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return filterMouse(event->type(), *static_cast<QMouseEvent *>(event));
    default:
        return QWidget::eventFilter(watched, event);
    }
}

bool FloatingPanel::filterMouse(QEvent::Type type, const QMouseEvent &event)
{
    if (type == QEvent::MouseButtonPress && event.button() == Qt::LeftButton && m_dragAnywhere) {
        beginDrag(event.globalPosition().toPoint());
        return true;
    }
    if (!m_dragOffset)
        return false;
    if (type == QEvent::MouseMove)
        move(event.globalPosition().toPoint() - *m_dragOffset);
    else if (type == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton)
        m_dragOffset.reset();
    return true;
}

void FloatingPanel::keyPressEvent(QKeyEvent *event)
{
    // Keys sent to the panel directly, not through its window, get the same handler.
    if (m_keyHandler && m_keyHandler(*event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FloatingPanel::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        Q_EMIT moved();
}

void FloatingPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isVisible() && event->oldSize().isValid())
        Q_EMIT resized(event->oldSize());
}

void FloatingPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const bool minimized = windowState().testFlag(Qt::WindowMinimized);
    if (minimized != m_minimized) {
        m_minimized = minimized;
        Q_EMIT minimizedChanged(minimized);
    }
}

void FloatingPanel::closeEvent(QCloseEvent *event)
{
    Q_EMIT aboutToClose();
    event->accept();
}
