#include "windows/FloatingPanel.h"

#include "windows/ResizeGrip.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

bool isControl(const QWidget &widget)
{
    return qobject_cast<const QAbstractButton *>(&widget) != nullptr
        || qobject_cast<const QAbstractSlider *>(&widget) != nullptr
        || qobject_cast<const QComboBox *>(&widget) != nullptr
        || qobject_cast<const QAbstractSpinBox *>(&widget) != nullptr
        || qobject_cast<const QLineEdit *>(&widget) != nullptr
        || widget.property(FloatingPanel::interactiveProperty).toBool();
}

// One side of a grip resize: the pulled edge follows the pointer, the other one stays, and
// the length never goes below the minimum.
void stretch(int &start, int &length, int delta, bool fromStart, int minimum)
{
    const int end = start + length;
    length = std::max(minimum, fromStart ? length - delta : length + delta);
    if (fromStart)
        start = end - length;
}

} // namespace

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
    buildGrips();
}

void FloatingPanel::markInteractive(QWidget &widget)
{
    widget.setProperty(interactiveProperty, true);
}

void FloatingPanel::buildGrips()
{
    for (const Qt::Edges edges :
         {Qt::Edges(Qt::LeftEdge), Qt::Edges(Qt::RightEdge), Qt::Edges(Qt::TopEdge),
          Qt::Edges(Qt::BottomEdge), Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
          Qt::BottomEdge | Qt::LeftEdge, Qt::BottomEdge | Qt::RightEdge}) {
        auto *grip = new ResizeGrip(edges, this);
        connect(grip, &ResizeGrip::pressed, this, &FloatingPanel::beginResize);
        m_grips.append(grip);
    }
    layoutGrips();
}

void FloatingPanel::layoutGrips()
{
    for (ResizeGrip *grip : std::as_const(m_grips)) {
        grip->setGeometry(grip->area(size(), gripBand, gripCorner));
        grip->setVisible(m_resizable);
        // Above the content, which may have been added after the grips.
        grip->raise();
    }
}

void FloatingPanel::setResizable(bool on)
{
    m_resizable = on;
    layoutGrips();
}

void FloatingPanel::setKeyHandler(KeyHandler handler)
{
    m_keyHandler = std::move(handler);
}

void FloatingPanel::setContent(QWidget *content)
{
    layout()->addWidget(content);
    // Focusing the window focuses what it shows (a web page among it).
    setFocusProxy(content);
    layoutGrips();
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

bool FloatingPanel::event(QEvent *event)
{
    // A window that shows a texture-based child (the web engine's view) gets a new native
    // window on its first show: the new one must be watched as well.
    if (event->type() == QEvent::WinIdChange && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
    return QWidget::event(event);
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
    if (m_manualResize || m_dragOffset)
        return followPointer(type, event);
    const bool leftPress = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        && event.button() == Qt::LeftButton;
    // Drag mode moves the window from anywhere but its controls, which keep working: the
    // hand button that ends drag mode among them.
    if (leftPress && m_dragAnywhere && !isInteractiveAt(event.position().toPoint())) {
        if (type == QEvent::MouseButtonPress)
            beginDrag(event.globalPosition().toPoint());
        return true;
    }
    return false;
}

bool FloatingPanel::followPointer(QEvent::Type type, const QMouseEvent &event)
{
    const QPoint global = event.globalPosition().toPoint();
    const bool released = type == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton;
    if (m_manualResize) {
        if (type == QEvent::MouseMove)
            resizeTo(global);
        else if (released)
            endResize();
        return true;
    }
    if (type == QEvent::MouseMove)
        move(global - *m_dragOffset);
    else if (released)
        m_dragOffset.reset();
    return true;
}

bool FloatingPanel::isInteractiveAt(const QPoint &position) const
{
    for (const QWidget *widget = childAt(position); widget != nullptr && widget != this;
         widget = widget->parentWidget()) {
        if (isControl(*widget))
            return true;
    }
    return false;
}

void FloatingPanel::beginResize(Qt::Edges edges, const QPoint &globalPress)
{
    m_resizeEdges = edges;
    Q_EMIT liveResizeStarted(edges);
    if (windowHandle()->startSystemResize(edges))
        return;
    // No window manager to hand the resize to: follow the pointer until the release.
    m_manualResize = ManualResize{globalPress, geometry()};
}

void FloatingPanel::resizeTo(const QPoint &globalPosition)
{
    const QPoint delta = globalPosition - m_manualResize->press;
    QRect target = m_manualResize->start;
    int x = target.x();
    int y = target.y();
    int width = target.width();
    int height = target.height();
    if (m_resizeEdges & (Qt::LeftEdge | Qt::RightEdge))
        stretch(x, width, delta.x(), m_resizeEdges.testFlag(Qt::LeftEdge), minimumWidth());
    if (m_resizeEdges & (Qt::TopEdge | Qt::BottomEdge))
        stretch(y, height, delta.y(), m_resizeEdges.testFlag(Qt::TopEdge), minimumHeight());
    target.setRect(x, y, width, height);
    if (target != geometry())
        setGeometry(target);
}

void FloatingPanel::endResize()
{
    m_manualResize.reset();
    Q_EMIT liveResizeEnded();
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
    layoutGrips();
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
