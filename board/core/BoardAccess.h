// The board as a screen reader presents it, from Form1's state alone, for every front end:
// a named panel of four push buttons, one per box.
#pragma once

#include "board/core/Form1.h"

#include <string>

namespace tessarline {

inline constexpr wchar_t kBoardAccessName[] = L"Board";

// How to play, in a few words, where a front end has room for them beside the board.
inline constexpr wchar_t kHowToPlay[] =
    L"Click or tap a box joined to the pen's box by a faint edge: the edge turns black and the "
    L"pen moves there. Nine of the ten edges is the most anyone can trace. Keys: 1 to 4 click "
    L"those boxes; the arrow keys, Tab and Shift+Tab move the focus, and Space or Enter clicks "
    L"the focused box. Alt+R starts again, Alt+H shows the rules.";

// The number of edges traced so far.
int TracedEdgeCount(const Form1& form);

// "3 of 10 edges traced".
std::wstring BoardDescription(const Form1& form);

// "Box 1" to "Box 4".
std::wstring BoxName(NodeIndex node);

// "pen here" for the pen's box; for the others, which edges towards the box from the pen are
// still faint: "line faint", "arc faint", "line and arc faint" or "none faint".
std::wstring BoxDescription(const Form1& form, NodeIndex node);

} // namespace tessarline
