// The board as a screen reader presents it, from Form1's state alone, for every front end:
// a named panel of four push buttons, one per box.
#pragma once

#include "board/core/Form1.h"

#include <string>

namespace tessarline {

inline constexpr wchar_t kBoardAccessName[] = L"Board";

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
