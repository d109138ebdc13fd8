#pragma once

#include <QEvent>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

class QKeyEvent;
class QMouseEvent;
class ResizeGrip;

// The frameless top-level window of one player. Keys reach the key handler before any
// child sees them (the handler decides what the content gets), and the window can be
// dragged by its content: on request from a drag area, or while drag-anywhere is on from
// any point that is not an interactive control. Grips along the edges and corners resize
// it. Moves and resizes are handed to the window manager when it supports them and done
// here when not.
class FloatingPanel final : public QWidget
{
    Q_OBJECT

public:
    // Returns true when the key was handled; the event is then consumed.
    using KeyHandler = std::function<bool(const QKeyEvent &)>;

    explicit FloatingPanel(QWidget *parent = nullptr);

    void setKeyHandler(KeyHandler handler);
    // The one child, filling the window; it takes the keyboard focus given to the window.
    void setContent(QWidget *content);

    void setDragAnywhere(bool on);
    bool dragAnywhere() const { return m_dragAnywhere; }
    // Starts moving the window with the pressed left button; false when no button is down.
    bool startDrag();

    // The edge and corner grips; off in full screen.
    void setResizable(bool on);
    // Whether this panel itself is following the pointer for a grip resize.
    bool isResizing() const { return m_manualResize.has_value(); }

    // Widgets carrying this property as true keep their presses in drag mode, like buttons
    // and sliders do.
    static constexpr const char *interactiveProperty = "lumivaneInteractive";
    static void markInteractive(QWidget &widget);

    // Thickness of the edge grips and side of the corner grips.
    static constexpr int gripBand = 6;
    static constexpr int gripCorner = 12;

Q_SIGNALS:
    void moved();
    void resized(const QSize &oldSize);
    // A grip was pressed: the window is resized from these edges until the button's release.
    void liveResizeStarted(Qt::Edges edges);
    // A grip resize this panel followed itself has ended with the button's release; one
    // the window manager did ends unannounced.
    void liveResizeEnded();
    void minimizedChanged(bool minimized);
    void aboutToClose();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct ManualResize {
        QPoint press;
        QRect start;
    };

    bool filterMouse(QEvent::Type type, const QMouseEvent &event);
    bool followPointer(QEvent::Type type, const QMouseEvent &event);
    // True when the press at this point belongs to a control rather than to the window.
    bool isInteractiveAt(const QPoint &position) const;
    void beginDrag(const QPoint &globalPress);
    void buildGrips();
    void layoutGrips();
    void beginResize(Qt::Edges edges, const QPoint &globalPress);
    void resizeTo(const QPoint &globalPosition);
    void endResize();

    KeyHandler m_keyHandler;
    bool m_dragAnywhere = false;
    bool m_minimized = false;
    bool m_resizable = true;
    // Distance from the window's corner to the pointer while this panel drags itself.
    std::optional<QPoint> m_dragOffset;
    QList<ResizeGrip *> m_grips;
    Qt::Edges m_resizeEdges;
    std::optional<ManualResize> m_manualResize;
};
