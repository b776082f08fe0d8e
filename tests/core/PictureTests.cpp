// The board's pixels as both front ends show them, box hits that match the painted boxes at
// every scale, and the figure of the icon and the help picture.
#include "board/core/BoardPicture.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <utility>

namespace tessarline {
namespace {

constexpr Pixel kGround = 0xFF008000u;
constexpr Pixel kFaint = 0xFF009000u;
constexpr Pixel kInk = 0xFF000000u;
constexpr Pixel kPaper = 0xFFFFFFFFu;

TwipPoint OnCircle(double angle) {
    return {static_cast<int>(std::lround(1320 + 1100 * std::cos(angle))),
            static_cast<int>(std::lround(1320 - 1100 * std::sin(angle)))};
}

// A point of each edge away from every other: a quarter along a line (the diagonals cross
// at their middles), the middle of an arc.
TwipPoint Probe(Edge e) {
    if (IsLine(e)) {
        const LineLayout& l = kLines[static_cast<std::size_t>(LineIndex(e) - 1)];
        return {(3 * l.from.x + l.to.x) / 4, (3 * l.from.y + l.to.y) / 4};
    }
    const ArcLayout& a = kArcs[static_cast<std::size_t>(ArcSlot(e))];
    double start = ArcAngle(a.startBits), end = ArcAngle(a.endBits);
    if (end < start) {
        start -= 2 * std::numbers::pi;
    }
    return OnCircle((start + end) / 2);
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

struct Picture : ::testing::Test {
    Pixel At(TwipPoint p, double scale = 1.0) {
        const TwipTransform t = TwipTransform::ForDevice(scale);
        return RenderBoard(f, t).At(t.X(p.x), t.Y(p.y));
    }
    testing::FakeBoardWindow w;
    Form1 f{w};
};

// On a fresh board only the boxes are black or white: at every scale, every such pixel, and
// no other, must answer to a click on its box.
TEST_F(Picture, EveryPaintedBoxPixelAnswersAClick) {
    f.Form_Load();
    for (double scale : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5}) {
        const TwipTransform t = TwipTransform::ForDevice(scale);
        const PixelBuffer image = RenderBoard(f, t);
        ASSERT_EQ(image.Width(), static_cast<int>(std::lround(178 * scale)));
        int pen = 0; // box 2's left border: the scale rounded, two pixels at 150%
        for (const PixelRect b = BoxRect(2, t); image.At(b.x + pen, b.y + b.height / 2) == kInk;) {
            ++pen;
        }
        ASSERT_EQ(pen, std::lround(scale)) << "scale " << scale;
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x) {
                const Pixel p = image.At(x, y);
                ASSERT_EQ(NodeAtPixel(x, y, t) != 0, p == kInk || p == kPaper)
                    << "scale " << scale << " at " << x << "," << y;
            }
        }
    }
}

// Each edge turns black alone when traced, at two scales; before the first reset the lines
// keep their design-time grey and no arc is painted.
TEST_F(Picture, EachEdgeShowsItsOwnState) {
    EXPECT_EQ(At(Probe(Edge::Line1)), 0xFFDDDDDDu);
    EXPECT_EQ(At(Probe(Edge::Arc12)), kGround);
    for (double scale : {1.0, 2.0}) {
        for (Edge traced : kAllEdges) {
            f.Form_Load();
            f.TraceEdge(traced);
            for (Edge e : kAllEdges) {
                EXPECT_EQ(At(Probe(e), scale), e == traced ? kInk : kFaint)
                    << "scale " << scale << " traced " << static_cast<int>(traced) << " probe "
                    << static_cast<int>(e);
            }
        }
    }
    const TwipTransform t = TwipTransform::ForDevice(1.0);
    const PixelBuffer image = RenderBoard(f, t);
    EXPECT_EQ(image.At(0, image.Height() - 1), kGround);
    const PixelRect box2 = BoxRect(2, t); // its left border is measured at every scale above
    EXPECT_EQ(image.At(box2.x + 1, box2.y + 1), kPaper);
    EXPECT_EQ(image.At(box2.x + box2.width - 1, box2.y + box2.height / 2), kInk);
    // An arc is one pixel wide: the top of arc 1-2 at 100%, with ground above and below it.
    f.TraceEdge(Edge::Arc12);
    const PixelBuffer arc = RenderBoard(f, t);
    EXPECT_TRUE(arc.At(88, 15) == kInk && arc.At(88, 14) == kGround && arc.At(88, 16) == kGround);
}

// The diagonal drawn last lies on top at the crossing, faint or traced.
TEST_F(Picture, CrossingShowsTheDiagonalDrawnLast) {
    f.Form_Load();
    const TwipPoint centre{1320, 1320};
    f.TraceEdge(Edge::Line5);
    f.FaintEdge(Edge::Line6);
    EXPECT_EQ(At(centre), kFaint);
    f.TraceEdge(Edge::Line5);
    EXPECT_EQ(At(centre), kInk);
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
    // The circle touches the sides; the square's sides lie at 8 and 41 and meet at its
    // corners, which the diagonals reach; the diagonals cross at the centre.
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
