#pragma once

#include <QEvent>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>

class QKeyEvent;
class QMouseEvent;

// The frameless top-level window of one player. Keys reach the key handler before any
// child sees them (the handler decides what the content gets), and the window can be
// dragged by its content: on request from a drag area, or from anywhere while drag-anywhere
// is on. Dragging is handed to the window manager when it supports it and done here when not.
class FloatingPanel final : public QWidget
{
    Q_OBJECT

public:
    // Returns true when the key was handled; the event is then consumed.
    using KeyHandler = std::function<bool(const QKeyEvent &)>;

    explicit FloatingPanel(QWidget *parent = nullptr);

    void setKeyHandler(KeyHandler handler);
    // The one child, filling the window.
    void setContent(QWidget *content);

    void setDragAnywhere(bool on);
    bool dragAnywhere() const { return m_dragAnywhere; }
    // Starts moving the window with the pressed left button; false when no button is down.
    bool startDrag();

Q_SIGNALS:
    void moved();
    void resized(const QSize &oldSize);
    void minimizedChanged(bool minimized);
    void aboutToClose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool filterMouse(QEvent::Type type, const QMouseEvent &event);
    void beginDrag(const QPoint &globalPress);

    KeyHandler m_keyHandler;
    bool m_dragAnywhere = false;
    bool m_minimized = false;
    // Distance from the window's corner to the pointer while this panel drags itself.
    std::optional<QPoint> m_dragOffset;
};
