// What both front ends do with the player's input before it reaches the board's handlers: the
// pointer's clicks and the keyboard's focus among the boxes.
#pragma once

#include "board/core/Form1.h"
#include "board/core/Raster.h"

#include <optional>

namespace tessarline {

// The keys the board answers to, whatever the platform calls them.
enum class BoardKey {
    Box1, // the digit keys 1 to 4, on the main row or the keypad
    Box2,
    Box3,
    Box4,
    Left,
    Right,
    Up,
    Down,
    Next,     // Tab
    Previous, // Shift+Tab
    Activate, // Space or Enter
};

// Where a focus key (an arrow, Next or Previous) moves the keyboard focus from box at: along the
// figure's rows and columns, staying put at its edge, or round the square; at for other keys.
NodeIndex FocusStep(NodeIndex at, BoardKey key);

// The digit keys: the box a typed character clicks, or none. By the character, not the key's
// place, so that a layout that types digits with Shift clicks with Shift, and the keypad clicks
// with Num Lock on.
std::optional<BoardKey> BoardKeyForCharacter(char32_t character);

class BoardInput final : public KeyboardFocus {
public:
    // Focus and cue changes reach the board's window in the board's account of the key.
    explicit BoardInput(Form1& form) : form_(form) { form_.AttachKeyboard(this); }
    ~BoardInput() override { form_.AttachKeyboard(nullptr); }
    BoardInput(const BoardInput&) = delete;
    BoardInput& operator=(const BoardInput&) = delete;

    // The primary button goes down or up at a device pixel of the client area drawn at t. A
    // click is a press and a release on the same box, as painted at that scale. Press returns
    // whether it fell on a box, so that the front end can keep the pointer until the release.
    bool Press(int x, int y, const TwipTransform& t);
    void Release(int x, int y, const TwipTransform& t);
    // The press is lost (the pointer was taken away): no click follows.
    void Cancel() { pressed_ = 0; }

    // A key pressed in the window, repeat when the platform repeats a held key; false when the
    // board has no use for it, so that the platform can handle it (Alt+R, Alt+H and the rest).
    // A held key that clicks clicks once; a held arrow or Tab moves on.
    bool Key(BoardKey key, bool repeat = false);
    // The box with the keyboard focus: the pen's until a key moves it.
    NodeIndex Focus() const override { return focus_ != 0 ? focus_ : form_.CurrentNode; }
    // Whether the focus is drawn: only once a key has been used, as the platforms do.
    bool FocusShown() const override { return cues_; }

private:
    void MoveFocus(NodeIndex to);

    Form1& form_;
    NodeIndex pressed_ = 0;
    NodeIndex focus_ = 0;
    bool cues_ = false;
};

} // namespace tessarline
