// A long game through the Qt board window with the real help dialog behind it: real clicks at
// random places, Resets and Help openings from a fixed seed, the board's invariants checked
// after every step and its pixels every few hundred. Which edge a move takes is the core move
// table's business; here a click either moves the pen to the clicked box and traces one more
// edge, or changes nothing.
#include "help/linux/LinuxRegistry.h"
#include "tests/qt/QtTestSupport.h"

#include <QAction>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <random>

namespace tessarline {
namespace {

constexpr int kClicks = 10000;
constexpr int kPixelCheckEvery = 500;

int TracedCount(const BoardState& s) {
    return static_cast<int>(std::count(s.traced.begin(), s.traced.end(), true));
}

class BoardSoak : public ::testing::Test {
protected:
    BoardSoak() : registry_({"hardinfo"}, ""), host_(&board_, registry_, shell_) {
        board_.setBeepHandler([this] { ++beeps_; });
        board_.setHelpHandler([this] {
            // Closes the dialog from inside its modal loop, which starts right after this.
            QTimer::singleShot(0, &board_, [this] { WhileHelpIsOpen(); });
            host_.ShowModal();
        });
        board_.form().Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&board_));
    }

    // The picture only where it is looked at: grabbing it at every step would dominate the run.
    BoardState State(bool withPicture = false) { return BoardState::Of(board_, withPicture); }

    // Exactly one box highlighted, the pen's; every few hundred steps, the pixels too.
    void CheckInvariants(const BoardState& s, bool pixels) {
        ASSERT_TRUE(s.pen >= 1 && s.pen <= kNodeCount) << "pen " << s.pen;
        for (int n = 1; n <= kNodeCount; ++n) {
            const Colour back = s.boxes[2 * (n - 1)], fore = s.boxes[2 * (n - 1) + 1];
            EXPECT_EQ(back, n == s.pen ? kBlack : kWhite) << "box " << n;
            EXPECT_EQ(fore, n == s.pen ? kWhite : kBlack) << "box " << n;
            if (pixels) {
                EXPECT_EQ(s.picture.pixel(BoxPixels(n).topLeft() + QPoint(1, 1)),
                          n == s.pen ? kInkRgb : kPaperRgb)
                    << "box " << n;
            }
        }
        for (std::size_t i = 0; pixels && i < kEdgeCount; ++i) {
            EXPECT_EQ(s.picture.pixel(kEdgePixels[i]), s.traced[i] ? kInkRgb : kFaintRgb)
                << "edge " << i;
        }
    }

    void Click(std::mt19937& random) {
        QWidget* view = board_.boardView();
        QPoint p;
        if (random() % 2 == 0) { // somewhere on a box
            const QRect box = BoxPixels(static_cast<int>(random() % kNodeCount) + 1);
            p = box.topLeft() +
                QPoint(static_cast<int>(random() % 17), static_cast<int>(random() % 17));
        } else {
            p = QPoint(static_cast<int>(random() % static_cast<unsigned>(view->width())),
                       static_cast<int>(random() % static_cast<unsigned>(view->height())));
        }
        int target = 0;
        for (int n = 1; n <= kNodeCount; ++n) {
            target = BoxPixels(n).contains(p) ? n : target;
        }
        const BoardState before = State();
        const int beeps = beeps_;
        QTest::mouseClick(view, Qt::LeftButton, {}, p);
        const BoardState after = State();
        if (after == before) { // off the boxes, the pen's own box, or refused with one beep
            EXPECT_EQ(beeps_ - beeps, target != 0 && target != before.pen ? 1 : 0)
                << "a click at " << p.x() << "," << p.y() << " changed nothing";
            return;
        }
        EXPECT_EQ(beeps_, beeps);
        EXPECT_EQ(after.pen, target);
        EXPECT_EQ(TracedCount(after), TracedCount(before) + 1);
        for (std::size_t i = 0; i < kEdgeCount; ++i) {
            EXPECT_TRUE(!before.traced[i] || after.traced[i]) << "edge " << i << " went faint";
        }
        ++moves_;
    }

    void Activate() { // shortcuts reach only the active window
        board_.activateWindow();
        ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &board_; }));
    }

    void Reset(bool byKey) {
        const int beeps = beeps_;
        if (byKey) {
            Activate();
            QTest::keyClick(&board_, Qt::Key_R, Qt::AltModifier);
        } else {
            board_.resetAction()->trigger();
        }
        const BoardState s = State();
        EXPECT_EQ(s.pen, 1);
        EXPECT_EQ(TracedCount(s), 0);
        EXPECT_EQ(beeps_, beeps);
    }

    void Help(bool byKey) {
        helpBefore_ = State(true);
        const int beeps = beeps_;
        const int shown = helpShown_;
        if (byKey) {
            Activate();
            QTest::keyClick(&board_, Qt::Key_H, Qt::AltModifier);
        } else {
            board_.helpAction()->trigger();
        }
        ASSERT_EQ(helpShown_, shown + 1) << "Help did not open the dialog";
        EXPECT_FALSE(host_.Dialog()->isVisible());
        EXPECT_TRUE(State(true) == helpBefore_) << "Help changed the board";
        EXPECT_EQ(beeps_, beeps);
    }

    // Runs inside the dialog's modal loop: the board is as it was, then the dialog closes by
    // Esc, by its OK button or by its own unload, in turn.
    void WhileHelpIsOpen() {
        AboutDialog* d = host_.Dialog();
        if (d == nullptr || !d->isVisible()) {
            ADD_FAILURE() << "no dialog open";
            return;
        }
        EXPECT_TRUE(State(true) == helpBefore_) << "opening Help changed the board";
        switch (helpShown_++ % 3) {
        case 0:
            QTest::keyClick(d, Qt::Key_Escape);
            break;
        case 1:
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
            break;
        default:
            d->Unload();
        }
        if (d->isVisible()) {
            ADD_FAILURE() << "dialog left open";
            d->done(0);
        }
    }

    BoardWindowQt board_;
    LinuxRegistry registry_;
    CountingShell shell_;
    HelpDialogHost host_;
    int beeps_ = 0;
    int moves_ = 0;
    int helpShown_ = 0;
    BoardState helpBefore_;
};

TEST_F(BoardSoak, TenThousandClicksWithResetsAndHelpKeepTheBoardConsistent) {
    ASSERT_EQ(board_.screen()->logicalDotsPerInchX(), 96.0);
    std::mt19937 random(20261206);
    int clicks = 0;
    int resets = 0;
    for (int step = 0; clicks < kClicks; ++step) {
        const unsigned roll = random() % 100;
        if (roll < 2) {
            Help(random() % 2 == 0);
        } else if (roll < 5) {
            Reset(random() % 2 == 0);
            ++resets;
        } else {
            Click(random);
            ++clicks;
        }
        const bool pixels = step % kPixelCheckEvery == 0;
        CheckInvariants(State(pixels), pixels);
        if (HasFailure()) {
            FAIL() << "at step " << step;
        }
    }
    // The run covered what it claims to.
    EXPECT_GT(moves_, kClicks / 20);
    EXPECT_GT(beeps_, kClicks / 20);
    EXPECT_GT(resets, 100);
    EXPECT_GT(helpShown_, 100);
    EXPECT_EQ(shell_.starts + shell_.messages, 0);
    std::printf("%d clicks, %d moves, %d beeps, %d resets, %d Help openings\n", clicks, moves_,
                beeps_, resets, helpShown_);
}

} // namespace
} // namespace tessarline
