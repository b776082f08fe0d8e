// The figure's geometry and the pixels the board and the help picture are drawn with.
#include "board/core/BoardPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace tessarline {
namespace {

bool InOrOnBox(int node, double x, double y) {
    const BoxLayout& b = kBoxes[static_cast<std::size_t>(node - 1)];
    return x >= b.left && x <= b.left + b.width && y >= b.top && y <= b.top + b.height;
}

TEST(Geometry, EdgesEndInTheBoxesTheyJoin) {
    const int boxAt[] = {2, 1, 3, 4}; // at 45, 135, 225 and 315 degrees
    for (int i = 0; i < 4; ++i) {
        const double a = (2 * i + 1) * std::atan(1.0);
        const TwipPoint p{static_cast<int>(std::lround(1320 + 1100 * std::cos(a))),
                          static_cast<int>(std::lround(1320 - 1100 * std::sin(a)))};
        EXPECT_EQ(NodeAt(p), boxAt[i]) << i;
    }
    for (const ArcLayout& arc : kArcs) {
        std::set<int> ends;
        for (std::uint32_t bits : {arc.startBits, arc.endBits}) {
            const double a = ArcAngle(bits);
            ends.insert(NodeAt({static_cast<int>(std::lround(1320 + 1100 * std::cos(a))),
                                static_cast<int>(std::lround(1320 - 1100 * std::sin(a)))}));
        }
        EXPECT_EQ(ends, (std::set<int>{arc.nodeA, arc.nodeB}));
    }
    for (const LineLayout& l : kLines) {
        const bool direct =
            InOrOnBox(l.nodeA, l.from.x, l.from.y) && InOrOnBox(l.nodeB, l.to.x, l.to.y);
        const bool crossed =
            InOrOnBox(l.nodeB, l.from.x, l.from.y) && InOrOnBox(l.nodeA, l.to.x, l.to.y);
        EXPECT_TRUE(direct || crossed) << l.nodeA << "-" << l.nodeB;
    }
    // The diagonals x = y and x + y = 2640 cross at the circle's centre.
    const LineLayout& d5 = kLines[4];
    const LineLayout& d6 = kLines[5];
    EXPECT_EQ(d5.from.x - d5.from.y, 0);
    EXPECT_EQ(d5.to.x - d5.to.y, 0);
    EXPECT_EQ(d6.from.x + d6.from.y, 2640);
    EXPECT_EQ(d6.to.x + d6.to.y, 2640);
}

TEST(Geometry, NodeAtCoversLeftAndTopEdgesOnly) {
    for (int n = 1; n <= 4; ++n) {
        const BoxLayout& b = kBoxes[static_cast<std::size_t>(n - 1)];
        EXPECT_EQ(NodeAt({b.left, b.top}), n);
        EXPECT_EQ(NodeAt({b.left + 254, b.top + 254}), n);
        EXPECT_EQ(NodeAt({b.left + 255, b.top}), 0);
        EXPECT_EQ(NodeAt({b.left, b.top + 255}), 0);
        EXPECT_EQ(NodeAt({b.left - 1, b.top}), 0);
        EXPECT_EQ(NodeAt({b.left, b.top - 1}), 0);
    }
    EXPECT_EQ(NodeAt({1320, 1320}), 0);
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

constexpr Pixel kGround = 0xFF008000u;
constexpr Pixel kFaint = 0xFF009000u;
constexpr Pixel kInk = 0xFF000000u;
constexpr Pixel kPaper = 0xFFFFFFFFu;

struct Render : testing::Test {
    Render() { f.Form_Load(); }
    Pixel At(int x, int y) {
        return RenderBoard(f, w.surface, TwipTransform::ForDevice(1.0)).At(x, y);
    }
    SurfaceWindow w;
    Form1 f{w};
};

TEST_F(Render, GroundLinesArcsAndBoxes) {
    const PixelBuffer fresh = RenderBoard(f, w.surface, TwipTransform::ForDevice(1.0));
    ASSERT_EQ(fresh.Width(), 178);
    ASSERT_EQ(fresh.Height(), 179);
    for (auto [x, y] : {std::pair{5, 5}, {88, 28}, {170, 170}, {177, 178}, {60, 88}}) {
        EXPECT_EQ(fresh.At(x, y), kGround) << x << "," << y;
    }
    // Boxes: the pen's box black inside, the others white, all with a black border, drawn
    // over the faint lines' and arcs' ends.
    for (int n = 1; n <= 4; ++n) {
        const PixelRect r = BoxRect(n, TwipTransform::ForDevice(1.0));
        ASSERT_EQ(r.width, 17);
        for (int y = r.y; y < r.y + r.height; ++y) {
            for (int x = r.x; x < r.x + r.width; ++x) {
                const bool border = x == r.x || y == r.y || x == r.x + 16 || y == r.y + 16;
                EXPECT_EQ(fresh.At(x, y), border || n == 1 ? kInk : kPaper) << x << "," << y;
            }
        }
    }
    // A point of every line (quarter way along) and of every arc (at its middle), in the
    // order of the edges.
    const std::pair<int, int> at[] = {{40, 68},  {68, 40}, {136, 68}, {68, 136}, {68, 68},
                                      {68, 108}, {88, 15}, {15, 88},  {161, 88}, {88, 161}};
    for (Edge e : kAllEdges) {
        const auto [x, y] = at[static_cast<int>(e)];
        EXPECT_EQ(fresh.At(x, y), kFaint) << static_cast<int>(e);
        f.TraceEdge(e);
        EXPECT_EQ(At(x, y), kInk) << static_cast<int>(e);
    }
}

TEST_F(Render, CrossingShowsTheDiagonalOnTop) {
    f.TraceEdge(Edge::Line5);
    EXPECT_EQ(At(88, 88), kInk);
    f.FaintEdge(Edge::Line6); // faint, but drawn last
    EXPECT_EQ(At(88, 88), kFaint);
    EXPECT_EQ(At(68, 68), kInk);
    f.TraceEdge(Edge::Line6);
    f.FaintEdge(Edge::Line5);
    EXPECT_EQ(At(88, 88), kFaint);
    f.TraceEdge(Edge::Line5);
    EXPECT_EQ(At(88, 88), kInk);
}

TEST_F(Render, ArcsLieBelowTheLines) {
    w.surface.DrawArc({1320, 1320}, 720, kTracedColor, 0.0f, 3.0f); // crosses linLine(2)
    EXPECT_EQ(At(112, 46), kInk);
    EXPECT_EQ(At(88, 40), kFaint);
    EXPECT_EQ(At(136, 88), kFaint);
}

TEST_F(Render, ArcRunsFromItsStartToItsEndAcrossAngleZero) {
    // Arc 2-4 alone, on an otherwise faint board: traced at 0 degrees, not at 90 or 180.
    f.TraceEdge(Edge::Arc24);
    EXPECT_EQ(At(161, 88), kInk);
    EXPECT_EQ(At(88, 15), kFaint);
    EXPECT_EQ(At(15, 88), kFaint);
    EXPECT_EQ(At(88, 161), kFaint);
    for (int i = 0; i < 10; ++i) { // redrawing replaces an arc's earlier stroke
        f.TraceEdge(Edge::Arc12);
        f.mnuReset_Click();
    }
    EXPECT_EQ(At(161, 88), kFaint);
    EXPECT_EQ(w.surface.Strokes().size(), 4u);
}

TEST(Figure, BlackOnWhiteSymmetricWithEveryEdge) {
    const PixelBuffer img = RenderFigure(50);
    ASSERT_EQ(img.Width(), 50);
    int ink = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            const Pixel p = img.At(x, y);
            ASSERT_TRUE(p == kInk || p == kPaper) << x << "," << y;
            ink += p == kInk;
            EXPECT_EQ(p, img.At(49 - x, y)) << x << "," << y;
            EXPECT_EQ(p, img.At(x, 49 - y)) << x << "," << y;
            EXPECT_EQ(p, img.At(y, x)) << x << "," << y;
        }
    }
    EXPECT_EQ(img.At(0, 0), kPaper);
    EXPECT_LT(ink, 50 * 50 / 3);
    // Where the edges are at this size: the circle touches the sides; the square's sides lie
    // at 8 and 41; its diagonals cross at the centre.
    const std::pair<int, int> at[] = {{8, 24},  {24, 8}, {41, 24}, {24, 41}, {18, 18},
                                      {18, 31}, {24, 0}, {0, 24},  {49, 24}, {24, 49}};
    for (auto [x, y] : at) {
        EXPECT_EQ(img.At(x, y), kInk) << x << "," << y;
    }
}

} // namespace
} // namespace tessarline
