// The Qt board window on the offscreen platform: its icons, and that what the window holds
// follows the board at any scale (which move a click makes is the core tests' business; the
// menu bar's access keys are the end-to-end test's).
#include "board/core/BoardPicture.h"
#include "board/qt/BoardWindowQt.h"

#include <gtest/gtest.h>

#include <QBackingStore>
#include <QTest>

namespace tessarline {
namespace {

class BoardWindowTest : public ::testing::Test {
protected:
    BoardWindowTest() {
        board_.form().Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&board_));
    }

    // The window's backing store, read without painting afresh, holds RenderBoard's picture of
    // the board, except inside the boxes' borders, where each box shows a caption.
    void ExpectShowsBoard(const char* when) {
        SCOPED_TRACE(when);
        QTest::qWait(20); // let a pending repaint run
        const double dpr = board_.devicePixelRatioF();
        const TwipTransform t = TwipTransform::ForDevice(dpr);
        const QPoint at = board_.boardView()->mapTo(&board_, QPoint(0, 0)) * dpr;
        const auto* held = dynamic_cast<const QImage*>(board_.backingStore()->paintDevice());
        ASSERT_TRUE(held && held->height() >= at.y() + ClientHeight(t) - 1);
        const PixelBuffer want = RenderBoard(board_.form(), t);
        const int b = BoxBorderWidth(t);
        int wrong = 0;
        std::array<int, kNodeCount + 1> caption{};
        for (int y = 0; y < std::min(want.Height(), held->height() - at.y()); ++y) {
            for (int x = 0; x < want.Width(); ++x) {
                const NodeIndex n = NodeAtPixel(x, y, t);
                const PixelRect r = BoxRect(n != 0 ? n : 1, t);
                const bool inBox = n != 0 && x >= r.x + b && x < r.x + r.width - b &&
                                   y >= r.y + b && y < r.y + r.height - b;
                const bool same = (held->pixel(at + QPoint(x, y)) | 0xFF000000u) == want.At(x, y);
                (inBox ? caption[static_cast<std::size_t>(n)] : wrong) += !same;
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_TRUE(caption[1] > 0 && caption[2] > 0 && caption[3] > 0 && caption[4] > 0);
    }

    BoardWindowQt board_;
};

TEST_F(BoardWindowTest, IconAtTheDesktopsThreeSizes) {
    EXPECT_EQ(board_.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
}

TEST_F(BoardWindowTest, ShowsTheBoardAfterEveryChange) {
    ExpectShowsBoard("fresh");
    const QPoint box2(136, 40); // inside box 2 at any scale
    QTest::mouseClick(board_.boardView(), Qt::RightButton, {}, box2);
    EXPECT_EQ(board_.form().CurrentNode, 1);
    QTest::mouseClick(board_.boardView(), Qt::LeftButton, {}, box2);
    EXPECT_EQ(board_.form().CurrentNode, 2);
    ExpectShowsBoard("after a click");
    board_.form().lblNode_Click(3); // the diagonal, which crosses another
    ExpectShowsBoard("after a move from the core");
}

} // namespace
} // namespace tessarline
