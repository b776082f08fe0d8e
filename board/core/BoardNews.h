// What one handler changed, as the board tells its window: whether the picture changed, where
// the keyboard focus went, which screen-reader texts are new, and the one sentence a player is
// told about it. Every front end delivers the same account in its own way.
#pragma once

#include "board/core/Geometry.h"

#include <array>
#include <string>

namespace tessarline {

class Form1;

struct BoardNews {
    // Colours, the stacking order, an arc or the focus cue: the window repaints.
    bool picture = false;
    // The keyboard focus is on another box than last told.
    bool focusMoved = false;
    // The board's description (the count) and the boxes' descriptions that are new.
    bool boardDescription = false;
    std::array<bool, kNodeCount> boxDescription{};
    // One short sentence for the player, or empty: "Pen on box 3. 4 of 10 edges traced."
    std::wstring announcement;

    bool Any() const;
};

// The announcements, from the board's state after the handler.
std::wstring MoveAnnouncement(const Form1& form);
std::wstring RefusalAnnouncement(NodeIndex from, NodeIndex to);
std::wstring ResetAnnouncement(const Form1& form);

// What a screen reader was last told, for every front end: the descriptions and the focus. Each
// account names only what differs from the one before.
class BoardTold {
public:
    // Records the board's texts and the focus now and sets what changed since the last call.
    void Update(const Form1& form, NodeIndex focus, BoardNews& news);

private:
    std::wstring board_;
    std::array<std::wstring, kNodeCount> boxes_;
    NodeIndex focus_ = 0;
};

} // namespace tessarline
