// The real program on a private virtual X server: mouse clicks and keys sent to the server with
// xdotool, pictures of the window taken by the project's grab tool, then pixel checks.
#include "board/core/BoardPicture.h"
#include "tests/e2e/E2eSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>

namespace tessarline {
namespace {

using namespace e2e;

// At 96 DPI, as Xvfb reports it.
const TwipTransform kPixels = TwipTransform::ForDevice(1.0);

class BoardE2e : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        shot_ = Dir() + "/board.png";
        ASSERT_EQ(Grab(true), 0) << "the board was never drawn";

        // The board fills the bottom of the window, below the menu bar, whatever its height.
        const WindowGeometry g = GeometryOf(window_);
        ASSERT_EQ(g.width, ClientWidth(kPixels)) << g.width << "x" << g.height;
        ASSERT_GT(g.height, ClientHeight(kPixels)) << g.width << "x" << g.height;
        originX_ = g.x;
        originY_ = g.y + g.height - ClientHeight(kPixels);
    }

    int Grab(bool waitBoard) {
        int status = -1;
        Capture(std::string(TESSARLINE_GRAB) + (waitBoard ? " --wait-board " : " ") + window_ +
                    " " + shot_ + " 2>/dev/null",
                &status);
        return status;
    }

    // The board part of a fresh picture of the window.
    QImage Board() {
        QImage image;
        if (Grab(false) == 0 && image.load(QString::fromStdString(shot_))) {
            image = image.convertToFormat(QImage::Format_RGB32);
            return image.copy(0, image.height() - ClientHeight(kPixels), ClientWidth(kPixels),
                              ClientHeight(kPixels));
        }
        return image;
    }

    void ClickBox(int node) {
        const PixelRect r = BoxRect(node, kPixels);
        Click(originX_ + r.x + r.width / 2, originY_ + r.y + r.height / 2);
    }

    std::string shot_;
    int originX_ = 0;
    int originY_ = 0;
};

QRgb Px(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

constexpr QRgb kInk = 0xFF000000u;
constexpr QRgb kPaper = 0xFFFFFFFFu;
constexpr QRgb kFaint = 0xFF009000u;

// The pixel inside a box's border at its top-left corner, clear of the caption.
QRgb BoxInterior(const QImage& image, int node) {
    const PixelRect r = BoxRect(node, kPixels);
    return Px(image, r.x + 1, r.y + 1);
}

TEST_F(BoardE2e, ClicksTraceEdgesAndMoveTheHighlight) {
    ClickBox(4);
    ClickBox(2);
    // linLine(5) at (70,70), linLine(3) at (136,88), linLine(1) at (40,88), arc 2-4 at (161,88).
    auto moved = [](const QImage& b) {
        return !b.isNull() && Px(b, 70, 70) == kInk && Px(b, 136, 88) == kInk &&
               BoxInterior(b, 2) == kInk;
    };
    QImage board;
    EXPECT_TRUE(WaitFor([&] { return moved(board = Board()); })) << "the moves never showed";
    ASSERT_FALSE(board.isNull());
    EXPECT_EQ(Px(board, 70, 70), kInk);
    EXPECT_EQ(Px(board, 88, 88), kInk);
    EXPECT_EQ(Px(board, 136, 88), kInk);
    EXPECT_EQ(Px(board, 40, 88), kFaint);
    EXPECT_EQ(Px(board, 88, 40), kFaint);
    EXPECT_EQ(Px(board, 70, 106), kFaint);
    EXPECT_EQ(Px(board, 161, 88), kFaint);
    EXPECT_EQ(Px(board, 88, 15), kFaint);
    EXPECT_EQ(BoxInterior(board, 1), kPaper);
    EXPECT_EQ(BoxInterior(board, 2), kInk);
    EXPECT_EQ(BoxInterior(board, 3), kPaper);
    EXPECT_EQ(BoxInterior(board, 4), kPaper);

    // Back to box 4 along the right-hand arc, now that linLine(3) is traced.
    ClickBox(4);
    EXPECT_TRUE(WaitFor([&] {
        board = Board();
        return !board.isNull() && Px(board, 161, 88) == kInk && BoxInterior(board, 4) == kInk;
    })) << "the arc was not traced";
}

TEST_F(BoardE2e, AltRResetsTheBoard) {
    ClickBox(3);
    QImage board;
    ASSERT_TRUE(WaitFor([&] {
        board = Board();
        return !board.isNull() && Px(board, 40, 88) == kInk;
    })) << "the move never showed";

    ASSERT_NO_FATAL_FAILURE(Keys(window_, "alt+r"));
    EXPECT_TRUE(WaitFor([&] {
        board = Board();
        return !board.isNull() && Px(board, 40, 88) == kFaint && BoxInterior(board, 1) == kInk &&
               BoxInterior(board, 3) == kPaper;
    })) << "Alt+R did not reset the board";
}

} // namespace
} // namespace tessarline
