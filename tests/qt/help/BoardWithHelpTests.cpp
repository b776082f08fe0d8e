// The help dialog over the real board window: the board takes no input while the dialog is
// open and is exactly as it was once it has closed.
#include "board/core/BoardPicture.h"
#include "board/qt/BoardWindowQt.h"
#include "help/linux/LinuxRegistry.h"
#include "help/qt/HelpDialogHost.h"
#include "tests/qt/help/HelpTestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <array>

namespace tessarline {
namespace {

struct SilentShell : SystemShell {
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring&) override { ++starts; }
    void ShowMessage(const std::wstring&, const std::wstring&) override { ++messages; }
    int starts = 0;
    int messages = 0;
};

// Everything the board shows and holds.
struct BoardState {
    NodeIndex pen;
    std::array<bool, kEdgeCount> faint;
    std::array<Colour, 2 * kNodeCount> boxes;
    QImage picture;

    static BoardState Of(BoardWindowQt& board) {
        BoardState s{board.form().CurrentNode, {}, {}, board.boardView()->grab().toImage()};
        for (std::size_t i = 0; i < kAllEdges.size(); ++i) {
            s.faint[i] = board.form().IsFaint(kAllEdges[i]);
        }
        for (int n = 1; n <= kNodeCount; ++n) {
            s.boxes[2 * (n - 1)] = board.form().lblNode(n).BackColor;
            s.boxes[2 * (n - 1) + 1] = board.form().lblNode(n).ForeColor;
        }
        return s;
    }
    bool operator==(const BoardState& o) const {
        return pen == o.pen && faint == o.faint && boxes == o.boxes && picture == o.picture;
    }
};

class BoardWithHelp : public ::testing::Test {
protected:
    BoardWithHelp() : registry_({"hardinfo"}, ""), host_(&board_, registry_, shell_) {
        board_.setHelpHandler([this] { host_.ShowModal(); });
        board_.setBeepHandler([this] { ++beeps_; });
        board_.form().Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&board_));
        board_.activateWindow();
        EXPECT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &board_; }));
    }

    // A real click through the window system, so that a modal dialog can block it.
    void ClickBox(int node) {
        const double scale = board_.logicalDpiX() / 96.0;
        const PixelRect r = BoxRect(node, TwipTransform::ForDevice(scale));
        const QPoint inView(r.x + r.width / 2, r.y + r.height / 2);
        QTest::mouseClick(board_.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          board_.boardView()->mapTo(&board_, inView));
    }

    BoardWindowQt board_;
    LinuxRegistry registry_;
    SilentShell shell_;
    HelpDialogHost host_;
    int beeps_ = 0;
};

TEST_F(BoardWithHelp, TheBoardIgnoresInputWhileHelpIsOpenAndKeepsItsState) {
    ClickBox(4);
    ClickBox(2);
    ASSERT_EQ(board_.form().CurrentNode, 2);
    const BoardState before = BoardState::Of(board_);

    bool checked = false;
    OnceOpen(
        host_, &board_,
        [&](AboutDialog& dialog) {
            AboutDialog* d = &dialog;
            // Box clicks, the menu bar's Reset and the access keys all go nowhere.
            for (int node : {1, 3, 4}) {
                ClickBox(node);
            }
            QMenuBar* bar = board_.menuBar();
            const QPoint reset = bar->actionGeometry(board_.resetAction()).center();
            QTest::mouseClick(board_.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              bar->mapTo(&board_, reset));
            QTest::keyClick(board_.windowHandle(), Qt::Key_R, Qt::AltModifier);
            QTest::keyClick(board_.windowHandle(), Qt::Key_H, Qt::AltModifier);
            QTest::qWait(50);
            EXPECT_TRUE(BoardState::Of(board_) == before);
            EXPECT_EQ(beeps_, 0);
            EXPECT_EQ(QApplication::activeModalWidget(), d);
            QTest::keyClick(d, Qt::Key_Escape);
        },
        &checked);
    QTest::keyClick(board_.windowHandle(), Qt::Key_H, Qt::AltModifier);
    ASSERT_TRUE(checked) << "Alt+H did not open the dialog";
    EXPECT_FALSE(host_.Dialog()->isVisible());
    EXPECT_TRUE(BoardState::Of(board_) == before);

    // The same clicks count again once the dialog has gone: box 1 is next to the pen on 2.
    board_.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &board_; }));
    ClickBox(1);
    EXPECT_EQ(board_.form().CurrentNode, 1);
    EXPECT_EQ(shell_.starts + shell_.messages, 0);
}

TEST_F(BoardWithHelp, HelpFromTheMenuBarOpensTheSameDialogEachTime) {
    AboutDialog* first = nullptr;
    for (int opening = 0; opening < 2; ++opening) {
        bool shown = false;
        OnceOpen(
            host_, &board_,
            [&](AboutDialog& d) {
                if (opening == 0) {
                    first = &d;
                } else {
                    EXPECT_EQ(&d, first);
                }
                EXPECT_EQ(d.parentWidget(), &board_);
                d.Unload();
            },
            &shown);
        QMenuBar* bar = board_.menuBar();
        const QPoint help = bar->actionGeometry(board_.helpAction()).center();
        QTest::mouseClick(board_.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          bar->mapTo(&board_, help));
        EXPECT_TRUE(shown) << "opening " << opening;
    }
}

} // namespace
} // namespace tessarline
