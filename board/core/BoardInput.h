// What both front ends do with the player's input before it reaches the board's handlers.
#pragma once

#include "board/core/Form1.h"
#include "board/core/Raster.h"

namespace tessarline {

class BoardInput {
public:
    explicit BoardInput(Form1& form) : form_(form) {}

    // The primary button goes down or up at a device pixel of the client area drawn at t. A
    // click is a press and a release on the same box, as painted at that scale. Press returns
    // whether it fell on a box, so that the front end can keep the pointer until the release.
    bool Press(int x, int y, const TwipTransform& t);
    void Release(int x, int y, const TwipTransform& t);
    // The press is lost (the pointer was taken away): no click follows.
    void Cancel() { pressed_ = 0; }

private:
    Form1& form_;
    NodeIndex pressed_ = 0;
};

} // namespace tessarline
