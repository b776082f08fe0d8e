// The board's keyboard on Qt: Qt's keys as the board's keys, and the focus cue around a box.
#pragma once

#include "board/core/BoardInput.h"

#include <optional>

class QKeyEvent;
class QPainter;
class QRect;
class QWidget;

namespace tessarline {

// The board's key for a key press, or none for the keys the board leaves to Qt (Alt+R, Alt+H and
// every other combination with Ctrl, Alt or Meta).
std::optional<BoardKey> BoardKeyFor(const QKeyEvent& event);

// The style's focus rectangle around a box, as the widget's style draws it for keyboard focus.
void DrawBoxFocus(QPainter& painter, const QWidget& widget, const QRect& box);

} // namespace tessarline
