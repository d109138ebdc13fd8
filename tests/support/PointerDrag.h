#pragma once

#include <QPoint>
#include <QRect>

#include <chrono>
#include <functional>

class QWidget;

namespace PointerDrag {
// Presses the real left button at `from`, moves to `to` in steps and releases there once
// `arrived` holds (bounded). A window manager takes a move or resize over a little after the
// press and follows only the motion it sees from then on: the pointer is nudged until then.
// `whileHeld`, when given, runs then with the button still down and must hold as well.
bool leftDrag(const QPoint &from, const QPoint &to, const std::function<bool()> &arrived,
              const std::function<bool()> &whileHeld = {});

// Pulls the grip of these edges of a player window by `pull`. While the button is down the
// pulled edges follow the pointer (the window no smaller than 320 x 220), also after holding
// still for longer than `settle`, the pause after which a resize counts as ended.
bool pullGrip(const QWidget &window, Qt::Edges edges, const QPoint &pull, std::chrono::milliseconds settle);
} // namespace PointerDrag
