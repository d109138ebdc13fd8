#pragma once

#include <QPoint>

#include <functional>

namespace PointerDrag {
// Presses the real left button at `from`, moves to `to` in steps and releases there once
// `arrived` holds (bounded). A window manager takes a move or resize over a little after the
// press and follows only the motion it sees from then on: the pointer is nudged until then.
bool leftDrag(const QPoint &from, const QPoint &to, const std::function<bool()> &arrived);
} // namespace PointerDrag
