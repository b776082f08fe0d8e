// Whether a picture of the figure resized to size pixels square kept every line: each black
// pixel of the core's figure black somewhere in the block it becomes, the white corner white.
#pragma once

#include "board/core/Raster.h"

#include <algorithm>

namespace tessarline::testing {

// black(x, y): whether the shown picture is black there. Returns the pixels lost.
template <class Black> int LostFigurePixels(int size, Black black) {
    constexpr int kSide = 50;
    const PixelBuffer figure = RenderFigure(kSide);
    int lost = black(0, 0) ? 1 : 0;
    for (int i = 0; i < kSide * kSide; ++i) {
        const int fx = i % kSide, fy = i / kSide, x0 = fx * size / kSide, y0 = fy * size / kSide;
        bool kept = figure.At(fx, fy) != 0xFF000000u;
        for (int y = y0; y < std::max(y0 + 1, ((fy + 1) * size + kSide - 1) / kSide); ++y) {
            for (int x = x0; x < std::max(x0 + 1, ((fx + 1) * size + kSide - 1) / kSide); ++x) {
                kept = kept || black(x, y);
            }
        }
        lost += kept ? 0 : 1;
    }
    return lost;
}

} // namespace tessarline::testing
