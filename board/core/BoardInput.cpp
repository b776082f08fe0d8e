#include "board/core/BoardInput.h"

#include "board/core/BoardPicture.h"

namespace tessarline {

bool BoardInput::Press(int x, int y, const TwipTransform& t) {
    pressed_ = NodeAtPixel(x, y, t);
    return pressed_ != 0;
}

void BoardInput::Release(int x, int y, const TwipTransform& t) {
    const NodeIndex pressed = pressed_;
    pressed_ = 0;
    if (pressed != 0 && NodeAtPixel(x, y, t) == pressed) {
        form_.lblNode_Click(pressed);
    }
}

} // namespace tessarline
