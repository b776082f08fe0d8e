// The colour of the help dialog's labels on every platform: black as designed, unless the
// desktop's dialog face is too dark for black text to be read on it; then the desktop's own
// text colour.
#pragma once

#include "board/core/Types.h"

namespace tessarline {

// Contrast of two colours (&H00BBGGRR) as accessibility measures it, from 1 to 21.
double Contrast(Colour a, Colour b);

// face and text: the desktop's dialog face and dialog text colours. 4.5:1 is the usual least
// contrast for text.
Colour LabelTextColour(Colour face, Colour text);

} // namespace tessarline
