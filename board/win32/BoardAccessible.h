// The board window as Microsoft Active Accessibility presents it: the client area is a pane
// named "Board" with the four boxes as push buttons (child ids 1 to 4), all read from the
// board's state, with the WinEvents that tell a screen reader what changed.
#pragma once

#include "board/core/BoardInput.h"
#include "board/core/Form1.h"
#include "board/core/Raster.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace tessarline {

class BoardAccessible;

class BoardAccessibility {
public:
    // transform: the window's current twip-to-pixel scale.
    BoardAccessibility(Form1& form, BoardInput& input, std::function<TwipTransform()> transform);
    BoardAccessibility(const BoardAccessibility&) = delete;
    BoardAccessibility& operator=(const BoardAccessibility&) = delete;
    ~BoardAccessibility();

    // Answers WM_GETOBJECT for the client area, and notes which box a click or key is about to
    // click and when the window takes the keyboard focus; a result when the message is used up.
    std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // After a change of what the board shows: the events for the descriptions and the focus
    // that changed with it.
    void Changed(HWND window);
    // A click was refused with the beep: an alert on the box clicked.
    void Refused(HWND window);

    // For the accessible object.
    Form1& form;
    BoardInput& input;
    const std::function<TwipTransform()> transform;
    // The box whose click is being handled, 0 when unknown.
    NodeIndex clicking = 0;

private:
    void Disconnect();

    BoardAccessible* object_ = nullptr;
    bool comStarted_ = false;
    // What a screen reader was last told: the board's description, then the boxes'.
    std::array<std::wstring, 1 + kNodeCount> told_;
    NodeIndex toldFocus_ = 0;
};

} // namespace tessarline
