// The board window's keyboard on Windows: the keys the board answers to, and the focus
// rectangle, drawn only once a key has been used and as the system's keyboard cues allow.
#pragma once

#include "board/core/BoardInput.h"
#include "board/core/Raster.h"

#include <windows.h>

#include <optional>

namespace tessarline {

// The board's key for a key-down message of a key that types no box's digit (arrows, Tab, Space,
// Enter), or none for the keys left to the system. The digits come as the characters typed.
std::optional<BoardKey> BoardKeyFor(WPARAM virtualKey);

class BoardKeyboard {
public:
    explicit BoardKeyboard(BoardInput& input) : input_(input) {}

    // Handles the board's keys, held ones as the board says; a result when the message is used
    // up. Also repaints where the
    // window's focus or keyboard cues change whether the focus rectangle shows.
    std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The focus rectangle around the focused box, if it is to be seen: a key has been used,
    // the window has the keyboard focus and its cues do not hide the focus.
    void DrawFocus(HWND window, HDC dc, const TwipTransform& t) const;

private:
    BoardInput& input_;
};

} // namespace tessarline
