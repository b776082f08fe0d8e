// The Qt board window on the offscreen platform: real mouse and key events on the real widgets,
// then the pixels of the grabbed board. Which move the core makes of a click is the core tests'
// business; here the window passes clicks through and paints what the core holds.
#include "board/qt/BoardWindowQt.h"
#include "tests/qt/QtTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

namespace tessarline {
namespace {

class BoardWindowTest : public ::testing::Test {
protected:
    BoardWindowTest() {
        window_.setBeepHandler([this] { ++beeps_; });
        window_.setHelpHandler([this] { ++helps_; });
        window_.form().Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
        // The pixel positions are those of a 96-DPI screen.
        EXPECT_EQ(window_.screen()->logicalDotsPerInchX(), 96.0);
        EXPECT_EQ(window_.devicePixelRatioF(), 1.0);
    }
    void Click(std::initializer_list<int> nodes) {
        for (int n : nodes) {
            QTest::mouseClick(window_.boardView(), Qt::LeftButton, {}, BoxPixels(n).center());
        }
    }
    QImage Board() { return Grab(window_.boardView()); }
    // Every edge in its colour, exactly, and the pen's box black inside, the others white.
    void ExpectBoard(std::initializer_list<Edge> traced, int pen, const char* when) {
        SCOPED_TRACE(when);
        const QImage b = Board();
        for (std::size_t i = 0; i < kEdgeCount; ++i) {
            const bool ink = std::find(traced.begin(), traced.end(), kAllEdges[i]) != traced.end();
            EXPECT_EQ(b.pixel(kEdgePixels[i]), ink ? kInkRgb : kFaintRgb) << "edge " << i;
        }
        for (int n = 1; n <= 4; ++n) {
            const QRect r = BoxPixels(n);
            const QRgb inside = n == pen ? kInkRgb : kPaperRgb;
            EXPECT_EQ(b.pixel(r.topLeft()), kInkRgb) << "border of box " << n;
            EXPECT_EQ(b.pixel(r.bottomRight()), kInkRgb) << "border of box " << n;
            for (QPoint p : {r.topLeft() + QPoint(1, 1), r.bottomRight() - QPoint(1, 1),
                             r.bottomLeft() + QPoint(1, -1)}) {
                EXPECT_EQ(b.pixel(p), inside) << "inside box " << n;
            }
        }
    }
    BoardWindowQt window_;
    int beeps_ = 0;
    int helps_ = 0;
};

TEST_F(BoardWindowTest, SizeFlagsTitleAndIcon) {
    const int bar = window_.menuBar()->height();
    EXPECT_EQ(window_.boardView()->size(), QSize(178, 179));
    EXPECT_EQ(window_.boardView()->mapTo(&window_, QPoint(0, 0)), QPoint(0, bar));
    EXPECT_EQ(window_.size(), QSize(178, bar + 179));
    window_.resize(400, 400);
    EXPECT_EQ(window_.size(), QSize(178, bar + 179));
    const Qt::WindowFlags f = window_.windowFlags();
    EXPECT_TRUE(f.testFlag(Qt::WindowTitleHint) && f.testFlag(Qt::WindowSystemMenuHint) &&
                f.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(f.testFlag(Qt::WindowMinimizeButtonHint) ||
                 f.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Tessarline"));
    // The figure in black on opaque white at each size (its shape is the core tests' concern).
    for (int size : {16, 32, 48}) {
        const QImage icon = window_.windowIcon().pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(icon.size(), QSize(size, size));
        int black = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb c = icon.pixel(x, y);
                ASSERT_TRUE(c == 0xFF000000u || c == 0xFFFFFFFFu) << x << "," << y;
                black += c == 0xFF000000u;
            }
        }
        EXPECT_TRUE(black > size && black < size * size / 2) << size;
    }
}

TEST_F(BoardWindowTest, PaintsEveryEdgeAndBoxInBothStatesAcrossRepaints) {
    const QImage fresh = Board();
    ExpectBoard({}, 1, "fresh");
    for (QPoint p : {QPoint(2, 2), QPoint(177, 178), QPoint(88, 100)}) {
        EXPECT_EQ(fresh.pixel(p), kGroundRgb);
    }
    // One pixel wide, not smoothed: just outside each arc is ground.
    for (std::size_t i = 6; i < kEdgeCount; ++i) {
        const QPoint d = kEdgePixels[i] - kCrossing;
        EXPECT_EQ(fresh.pixel(kEdgePixels[i] + d / std::max(std::abs(d.x()), std::abs(d.y()))),
                  kGroundRgb);
    }
    Click({2, 1, 3, 1, 4, 2, 3, 4, 2}); // nine edges: all but arc 3-4
    const auto nine = {Edge::Line1, Edge::Line2, Edge::Line3, Edge::Line4, Edge::Line5,
                       Edge::Line6, Edge::Arc12, Edge::Arc13, Edge::Arc24};
    ExpectBoard(nine, 2, "after nine moves");
    window_.boardView()->repaint();
    ExpectBoard(nine, 2, "after a repaint");
    window_.hide(); // covered and shown again
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    ExpectBoard(nine, 2, "after hiding and showing");
    window_.resetAction()->trigger();
    EXPECT_EQ(Board(), fresh);
}

// The diagonal traced last lies on top where they cross.
TEST_F(BoardWindowTest, LastTracedDiagonalLiesOnTheCrossing) {
    const struct {
        std::initializer_list<int> moves;
        QRgb line5, line6;
    } cases[] = {
        {{4}, kInkRgb, kFaintRgb}, {{2, 3}, kFaintRgb, kInkRgb}, {{2, 3, 1, 4}, kInkRgb, kInkRgb}};
    for (const auto& c : cases) {
        Click(c.moves);
        const QImage b = Board();
        EXPECT_EQ(b.pixel(kCrossing), kInkRgb) << c.moves.size();
        EXPECT_EQ(b.pixel(kEdgePixels[4]), c.line5) << c.moves.size();
        EXPECT_EQ(b.pixel(kEdgePixels[5]), c.line6) << c.moves.size();
        window_.resetAction()->trigger();
        EXPECT_EQ(Board().pixel(kCrossing), kFaintRgb);
    }
}

// The caption, drawn by the front end in the box's fore colour, centred and set from the top.
TEST_F(BoardWindowTest, BoxesShowCentredCaptionsInForeColor) {
    const QImage b = Board();
    for (int n = 1; n <= 4; ++n) {
        const QRect inside = BoxPixels(n).adjusted(1, 1, -1, -1);
        const int back = qGray(n == 1 ? kInkRgb : kPaperRgb);
        int left = inside.right(), right = inside.left(), top = inside.bottom(), strongest = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const int contrast = std::abs(qGray(b.pixel(x, y)) - back);
                if (contrast > 64) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                }
                strongest = std::max(strongest, contrast);
            }
        }
        ASSERT_LE(left, right) << "box " << n << " shows no caption";
        EXPECT_GT(strongest, 200) << "box " << n; // the opposite end of the grey scale
        EXPECT_LE(std::abs((left - inside.left()) - (inside.right() - right)), 2) << n;
        EXPECT_LE(top - inside.top(), 4) << n;
    }
}

TEST_F(BoardWindowTest, OnlyClicksOnABoxCountAndARefusedMoveBeepsOnce) {
    Click({4});
    const QImage before = Board();
    QWidget* view = window_.boardView();
    const QRect box2 = BoxPixels(2);
    // The ground, the crossing, an arc and the pixels just outside box 2.
    for (QPoint p : {QPoint(2, 2), kCrossing, kEdgePixels[7], box2.topLeft() - QPoint(1, 0),
                     box2.topLeft() - QPoint(0, 1), box2.bottomRight() + QPoint(1, 0),
                     box2.bottomRight() + QPoint(0, 1)}) {
        QTest::mouseClick(view, Qt::LeftButton, {}, p);
    }
    // Pressed on one box and released on another, or with the other button.
    QTest::mousePress(view, Qt::LeftButton, {}, box2.center());
    QTest::mouseRelease(view, Qt::LeftButton, {}, BoxPixels(3).center());
    QTest::mouseClick(view, Qt::RightButton, {}, box2.center());
    EXPECT_EQ(window_.form().CurrentNode, 4);
    EXPECT_EQ(Board(), before);
    EXPECT_EQ(beeps_, 0);
    QTest::mouseClick(view, Qt::LeftButton, {}, box2.bottomRight()); // a box's outermost pixel
    EXPECT_EQ(window_.form().CurrentNode, 2);

    window_.resetAction()->trigger();
    Click({3, 1}); // linLine(1), then arc 1-3: nothing left between 1 and 3
    const QImage traced = Board();
    Click({3, 1}); // refused, then the pen's own box: silent
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(Board(), traced);
}

TEST_F(BoardWindowTest, MenuBarCommandsByClickAndAccessKey) {
    QMenuBar* bar = window_.menuBar();
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Reset"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("&Help"));
    for (QAction* a : actions) {
        EXPECT_TRUE(a->menu() == nullptr && a->isEnabled() && a->isVisible());
    }
    EXPECT_TRUE(window_.findChildren<QMenu*>().isEmpty()); // no list opens
    EXPECT_FALSE(bar->isNativeMenuBar());

    const QImage fresh = Board();
    Click({2, 4});
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(window_.resetAction()).center());
    EXPECT_EQ(Board(), fresh);
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    Click({3, 1});
    QTest::keyClick(&window_, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(Board(), fresh);
    EXPECT_EQ(window_.form().CurrentNode, 1);

    // Help runs its handler, by click and by Alt+H, and leaves the board alone.
    Click({4});
    const QImage moved = Board();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(window_.helpAction()).center());
    QTest::keyClick(&window_, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(helps_, 2);
    EXPECT_EQ(Board(), moved);
    EXPECT_EQ(beeps_, 0);
}

} // namespace
} // namespace tessarline
