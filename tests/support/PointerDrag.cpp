#include "PointerDrag.h"

#include "X11Input.h"
#include "windows/ResizeGrip.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace PointerDrag {

bool leftDrag(const QPoint &from, const QPoint &to, const std::function<bool()> &arrived,
              const std::function<bool()> &whileHeld)
{
    if (!X11Input::pointerTo(from) || !X11Input::button(QStringLiteral("mousedown")))
        return false;
    bool ok = QTest::qWaitFor([] { return QGuiApplication::mouseButtons() & Qt::LeftButton; }, 2000);
    for (int step = 1; ok && step <= 4; ++step) {
        ok = X11Input::pointerTo(from + (to - from) * step / 4);
        QCoreApplication::processEvents();
    }
    ok = ok && QTest::qWaitFor([&] {
        X11Input::pointerTo(to + QPoint(1, 1));
        X11Input::pointerTo(to);
        return QTest::qWaitFor(arrived, 200);
    }, 5000);
    ok = ok && (!whileHeld || whileHeld());
    return X11Input::button(QStringLiteral("mouseup")) && ok;
}

bool pullGrip(const QWidget &window, Qt::Edges edges, const QPoint &pull, std::chrono::milliseconds settle)
{
    const ResizeGrip *grip = nullptr;
    for (const ResizeGrip *candidate : window.findChildren<ResizeGrip *>())
        grip = candidate->edges() == edges ? candidate : grip;
    if (grip == nullptr)
        return false;
    QRect held = window.geometry();
    if (edges & Qt::LeftEdge)
        held.setLeft(std::min(held.left() + pull.x(), held.right() + 1 - 320));
    if (edges & Qt::RightEdge)
        held.setRight(std::max(held.right() + pull.x(), held.left() + 319));
    if (edges & Qt::TopEdge)
        held.setTop(std::min(held.top() + pull.y(), held.bottom() + 1 - 220));
    if (edges & Qt::BottomEdge)
        held.setBottom(std::max(held.bottom() + pull.y(), held.top() + 219));
    const auto atHeld = [&] { return window.geometry() == held; };
    const auto stillHeld = [&] {
        QTimer settled;
        QSignalSpy fired(&settled, &QTimer::timeout);
        settled.start(settle * 3);
        return fired.wait(5000) && atHeld();
    };
    const QPoint press = grip->mapToGlobal(grip->rect().center());
    return leftDrag(press, press + pull, atHeld, stillHeld);
}

} // namespace PointerDrag
