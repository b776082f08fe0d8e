// The icon's and the help picture's square is closed: at 50 pixels its sides lie at 8 and 41,
// and each corner is inked along both sides and the diagonal.
#include "board/core/Raster.h"

#include <gtest/gtest.h>

TEST(Figure, SquareClosedAtItsCorners) {
    const tessarline::PixelBuffer img = tessarline::RenderFigure(50);
    for (auto [x, y] : {std::pair{8, 8},
                        {9, 8},
                        {8, 9},
                        {9, 9},
                        {41, 41},
                        {40, 41},
                        {41, 40},
                        {40, 40},
                        {41, 8},
                        {40, 9},
                        {8, 41},
                        {9, 40}}) {
        EXPECT_EQ(img.At(x, y), tessarline::ToPixel(tessarline::kBlack)) << x << "," << y;
    }
}
