#include "PointerDrag.h"

#include "X11Input.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTest>

namespace PointerDrag {

bool leftDrag(const QPoint &from, const QPoint &to, const std::function<bool()> &arrived)
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
    return X11Input::button(QStringLiteral("mouseup")) && ok;
}

} // namespace PointerDrag
