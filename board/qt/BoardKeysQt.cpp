#include "board/qt/BoardKeysQt.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace tessarline {

std::optional<BoardKey> BoardKeyFor(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return std::nullopt;
    }
    // The digits by the character they type, on the main row or the keypad.
    const QString text = event.text();
    if (text.size() == 1) {
        if (const auto digit = BoardKeyForCharacter(text.at(0).unicode())) {
            return digit;
        }
    }
    switch (event.key()) {
    case Qt::Key_Left:
        return BoardKey::Left;
    case Qt::Key_Right:
        return BoardKey::Right;
    case Qt::Key_Up:
        return BoardKey::Up;
    case Qt::Key_Down:
        return BoardKey::Down;
    case Qt::Key_Tab:
        return event.modifiers() & Qt::ShiftModifier ? BoardKey::Previous : BoardKey::Next;
    case Qt::Key_Backtab:
        return BoardKey::Previous;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return BoardKey::Activate;
    default:
        return std::nullopt;
    }
}

void DrawBoxFocus(QPainter& painter, const QWidget& widget, const QRect& box) {
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    // Two pixels out, so that the frame surrounds the box and leaves its own border alone.
    option.rect = box.adjusted(-2, -2, 2, 2);
    // The cue is only drawn once the keyboard has been used; styles draw it only then.
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    option.backgroundColor = widget.palette().color(widget.backgroundRole());
    // Some styles tint the whole rectangle: the box itself keeps its own colours.
    painter.save();
    painter.setClipRegion(QRegion(option.rect).subtracted(QRegion(box)));
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
    painter.restore();
}

} // namespace tessarline
