// The icon's and the help picture's square is closed: at 50 pixels its sides run along 8 and
// 41 from corner to corner, and the diagonals reach the corners.
#include "board/core/Raster.h"

#include <gtest/gtest.h>

namespace tessarline {
namespace {

TEST(Figure, SquareClosedAtItsCorners) {
    const PixelBuffer img = RenderFigure(50);
    const Pixel ink = ToPixel(kBlack);
    for (int i = 8; i <= 41; ++i) {
        EXPECT_TRUE(img.At(i, 8) == ink && img.At(i, 41) == ink) << "x " << i;
        EXPECT_TRUE(img.At(8, i) == ink && img.At(41, i) == ink) << "y " << i;
    }
    EXPECT_TRUE(img.At(9, 9) == ink && img.At(40, 40) == ink && img.At(40, 9) == ink &&
                img.At(9, 40) == ink);
}

} // namespace
} // namespace tessarline
