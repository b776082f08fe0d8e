// The figure's layout and the drawing details the front ends' pixel tests do not reach: which
// stroke lies on top, arcs across angle zero, the help picture, and box hits that match the
// painted boxes at every scale. The board's colours are checked through the front ends.
#include "board/core/BoardPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace tessarline {
namespace {

TwipPoint OnCircle(double angle) {
    return {static_cast<int>(std::lround(1320 + 1100 * std::cos(angle))),
            static_cast<int>(std::lround(1320 - 1100 * std::sin(angle)))};
}

bool InOrOnBox(int node, TwipPoint p) {
    const BoxLayout& b = kBoxes[static_cast<std::size_t>(node - 1)];
    return p.x >= b.left && p.x <= b.left + b.width && p.y >= b.top && p.y <= b.top + b.height;
}

// A typing slip in the layout would join the wrong boxes.
TEST(Geometry, EdgesEndInTheBoxesTheyJoin) {
    for (const ArcLayout& arc : kArcs) {
        const std::set<int> ends = {NodeAt(OnCircle(ArcAngle(arc.startBits))),
                                    NodeAt(OnCircle(ArcAngle(arc.endBits)))};
        EXPECT_EQ(ends, (std::set<int>{arc.nodeA, arc.nodeB}));
    }
    for (const LineLayout& l : kLines) {
        EXPECT_TRUE((InOrOnBox(l.nodeA, l.from) && InOrOnBox(l.nodeB, l.to)) ||
                    (InOrOnBox(l.nodeB, l.from) && InOrOnBox(l.nodeA, l.to)))
            << l.nodeA << "-" << l.nodeB;
    }
}

struct SurfaceWindow : BoardWindow {
    void Show() override {}
    void DrawArc(TwipPoint c, int r, Colour colour, float s, float e) override {
        surface.DrawArc(c, r, colour, s, e);
    }
    void Beep() override {}
    void ShowHelp() override {}
    BoardSurface surface;
};

constexpr Pixel kFaint = 0xFF009000u;
constexpr Pixel kInk = 0xFF000000u;

// On a fresh board only the boxes are black or white: at every scale, every such pixel, and
// no other, must answer to a click on its box.
TEST(Geometry, EveryPaintedBoxPixelAnswersAClick) {
    SurfaceWindow w;
    Form1 form(w);
    form.Form_Load();
    for (double scale : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5}) {
        const TwipTransform t = TwipTransform::ForDevice(scale);
        const PixelBuffer image = RenderBoard(form, w.surface, t);
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x) {
                const Pixel p = image.At(x, y);
                ASSERT_EQ(NodeAtPixel(x, y, t) != 0, p == kInk || p == 0xFFFFFFFFu)
                    << "scale " << scale << " at " << x << "," << y;
            }
        }
    }
}
constexpr Pixel kPaper = 0xFFFFFFFFu;

struct Render : testing::Test {
    Render() { f.Form_Load(); }
    Pixel At(int x, int y) {
        return RenderBoard(f, w.surface, TwipTransform::ForDevice(1.0)).At(x, y);
    }
    SurfaceWindow w;
    Form1 f{w};
};

// The diagonal drawn last lies on top at the crossing, faint or traced.
TEST_F(Render, CrossingShowsTheDiagonalDrawnLast) {
    f.TraceEdge(Edge::Line5);
    f.FaintEdge(Edge::Line6);
    EXPECT_EQ(At(88, 88), kFaint);
    EXPECT_EQ(At(68, 68), kInk);
    f.TraceEdge(Edge::Line5);
    EXPECT_EQ(At(88, 88), kInk);
}

TEST_F(Render, ArcsLieBelowTheLines) {
    w.surface.DrawArc({1320, 1320}, 720, TracedColor, 0.0f, 3.0f); // crosses linLine(2)
    EXPECT_EQ(At(112, 46), kInk);
    EXPECT_EQ(At(88, 40), kFaint);
}

TEST_F(Render, ArcRunsFromItsStartToItsEndAcrossAngleZero) {
    f.TraceEdge(Edge::Arc24); // traced at 0 degrees, not at 90, 180 or 270
    EXPECT_EQ(At(161, 88), kInk);
    for (auto [x, y] : {std::pair{88, 15}, {15, 88}, {88, 161}}) {
        EXPECT_EQ(At(x, y), kFaint) << x << "," << y;
    }
    for (int i = 0; i < 10; ++i) { // redrawing replaces an arc's earlier stroke
        f.TraceEdge(Edge::Arc12);
        f.mnuReset_Click();
    }
    EXPECT_EQ(At(161, 88), kFaint);
    EXPECT_EQ(w.surface.Strokes().size(), 4u);
}

// The help picture and the icon: every edge in black on white, symmetric like the figure.
TEST(Figure, BlackOnWhiteSymmetricWithEveryEdge) {
    const PixelBuffer img = RenderFigure(50);
    ASSERT_EQ(img.Width(), 50);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            const Pixel p = img.At(x, y);
            ASSERT_TRUE(p == kInk || p == kPaper) << x << "," << y;
            ASSERT_TRUE(p == img.At(49 - x, y) && p == img.At(x, 49 - y) && p == img.At(y, x))
                << x << "," << y;
        }
    }
    // The circle touches the sides; the square's sides lie at 8 and 41 and meet at its corners,
    // which the diagonals reach; the diagonals cross at the centre.
    const std::pair<int, int> at[] = {{8, 24},  {24, 8}, {41, 24}, {24, 41}, {18, 18},
                                      {18, 31}, {24, 0}, {0, 24},  {49, 24}, {24, 49},
                                      {8, 8},   {9, 8},  {9, 9}};
    for (auto [x, y] : at) {
        EXPECT_EQ(img.At(x, y), kInk) << x << "," << y;
    }
    EXPECT_EQ(img.At(0, 0), kPaper);
    EXPECT_EQ(img.At(24, 20), kPaper);
}

} // namespace
} // namespace tessarline
