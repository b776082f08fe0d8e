// A long game through the Qt board window with the real help dialog behind it: real clicks at
// random places, Resets and Help openings from a fixed seed. After every step the board is
// checked against what that step may change; every few hundred steps its pixels are checked.
#include "board/qt/BoardWindowQt.h"
#include "help/linux/LinuxRegistry.h"
#include "help/qt/HelpDialogHost.h"
#include "tests/qt/help/HelpTestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

namespace tessarline {
namespace {

constexpr int kClicks = 10000;
constexpr int kPixelCheckEvery = 500;

// Pixels of the board view at 96 DPI.
QRect BoxPixels(int node) {
    const BoxLayout& b = kBoxes[static_cast<std::size_t>(node - 1)];
    return {b.left / kTwipsPerPixel, b.top / kTwipsPerPixel, b.width / kTwipsPerPixel,
            b.height / kTwipsPerPixel};
}

NodeIndex BoxAt(QPoint p) {
    for (int n = 1; n <= kNodeCount; ++n) {
        if (BoxPixels(n).contains(p)) {
            return static_cast<NodeIndex>(n);
        }
    }
    return 0;
}

QPoint ToPixel(double xTwips, double yTwips) {
    return {static_cast<int>(std::lround(xTwips / kTwipsPerPixel)),
            static_cast<int>(std::lround(yTwips / kTwipsPerPixel))};
}

// A pixel of each edge away from the boxes, the other edges and the diagonals' crossing: a
// quarter along each line, the middle of each arc.
QPoint EdgePixel(Edge e) {
    if (IsLine(e)) {
        const LineLayout& l = kLines[static_cast<std::size_t>(LineIndex(e) - 1)];
        return ToPixel(l.from.x + (l.to.x - l.from.x) / 4.0, l.from.y + (l.to.y - l.from.y) / 4.0);
    }
    const ArcLayout& a = kArcs[static_cast<std::size_t>(ArcSlot(e))];
    const double start = ArcAngle(a.startBits);
    double end = ArcAngle(a.endBits);
    if (end < start) {
        end += 2 * std::numbers::pi;
    }
    const double mid = (start + end) / 2;
    return ToPixel(kArcCentre.x + kArcRadius * std::cos(mid),
                   kArcCentre.y - kArcRadius * std::sin(mid));
}

// The edges that join two boxes, from the figure's layout.
std::vector<Edge> Joining(NodeIndex a, NodeIndex b) {
    std::vector<Edge> out;
    const auto joins = [&](NodeIndex x, NodeIndex y) {
        return (x == a && y == b) || (x == b && y == a);
    };
    for (int k = 1; k <= kLineCount; ++k) {
        if (joins(kLines[static_cast<std::size_t>(k - 1)].nodeA,
                  kLines[static_cast<std::size_t>(k - 1)].nodeB)) {
            out.push_back(LineEdge(k));
        }
    }
    for (int i = 0; i < kArcCount; ++i) {
        if (joins(kArcs[static_cast<std::size_t>(i)].nodeA,
                  kArcs[static_cast<std::size_t>(i)].nodeB)) {
            out.push_back(static_cast<Edge>(kLineCount + i));
        }
    }
    return out;
}

QRgb ToRgb(Colour c) {
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

struct BoardState {
    NodeIndex pen = 0;
    std::array<bool, kEdgeCount> traced{};
    std::array<Colour, 2 * kNodeCount> boxes{};

    bool operator==(const BoardState&) const = default;
    int TracedCount() const {
        return static_cast<int>(std::count(traced.begin(), traced.end(), true));
    }
};

struct NothingToStart : SystemShell {
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring&) override { ++starts; }
    void ShowMessage(const std::wstring&, const std::wstring&) override { ++messages; }
    int starts = 0;
    int messages = 0;
};

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

    BoardState State() const {
        const Form1& f = board_.form();
        BoardState s;
        s.pen = f.CurrentNode;
        for (std::size_t i = 0; i < kAllEdges.size(); ++i) {
            s.traced[i] = !f.IsFaint(kAllEdges[i]);
        }
        for (int n = 1; n <= kNodeCount; ++n) {
            s.boxes[2 * (n - 1)] = f.lblNode(n).BackColor;
            s.boxes[2 * (n - 1) + 1] = f.lblNode(n).ForeColor;
        }
        return s;
    }

    QImage Picture() const {
        return board_.boardView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Exactly one box is highlighted, and it is the pen's.
    void CheckHighlight(const BoardState& s) {
        ASSERT_TRUE(s.pen >= 1 && s.pen <= kNodeCount) << "pen " << s.pen;
        for (int n = 1; n <= kNodeCount; ++n) {
            const Colour back = s.boxes[2 * (n - 1)];
            const Colour fore = s.boxes[2 * (n - 1) + 1];
            if (n == s.pen) {
                EXPECT_TRUE(back == kBlack && fore == kWhite) << "pen's box " << n;
            } else {
                EXPECT_TRUE(back == kWhite && fore == kBlack) << "box " << n;
            }
        }
    }

    void CheckPixels(const BoardState& s) {
        const QImage image = Picture();
        for (std::size_t i = 0; i < kAllEdges.size(); ++i) {
            const QPoint p = EdgePixel(kAllEdges[i]);
            EXPECT_EQ(image.pixel(p), ToRgb(s.traced[i] ? kTracedColor : kFaintColor))
                << "edge " << i << " at " << p.x() << "," << p.y();
        }
        for (int n = 1; n <= kNodeCount; ++n) {
            const QRect r = BoxPixels(n);
            EXPECT_EQ(image.pixel(r.topLeft()), ToRgb(kBoxBorderColor)) << "box " << n;
            EXPECT_EQ(image.pixel(r.topLeft() + QPoint(1, 1)), ToRgb(n == s.pen ? kBlack : kWhite))
                << "box " << n;
        }
    }

    // Shortcuts reach only the active window.
    void Activate() {
        if (QApplication::activeWindow() != &board_) {
            board_.activateWindow();
            ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &board_; }));
        }
    }

    void Click(std::mt19937& random) {
        QWidget* view = board_.boardView();
        QPoint p;
        if (random() % 2 == 0) {
            const QRect box = BoxPixels(static_cast<int>(random() % kNodeCount) + 1);
            p = box.topLeft() +
                QPoint(static_cast<int>(random() % static_cast<unsigned>(box.width())),
                       static_cast<int>(random() % static_cast<unsigned>(box.height())));
        } else {
            p = QPoint(static_cast<int>(random() % static_cast<unsigned>(view->width())),
                       static_cast<int>(random() % static_cast<unsigned>(view->height())));
        }
        const BoardState before = State();
        const int beeps = beeps_;
        QTest::mouseClick(view, Qt::LeftButton, {}, p);
        const BoardState after = State();
        const NodeIndex target = BoxAt(p);
        if (target == 0 || target == before.pen) {
            EXPECT_EQ(beeps_, beeps);
            EXPECT_TRUE(after == before) << "a click on no other box changed the board";
            return;
        }
        // The edge a move may take: the faint line joining the boxes, else the faint arc.
        std::optional<Edge> open;
        for (Edge e : Joining(before.pen, target)) {
            if (!open && !before.traced[static_cast<std::size_t>(e)]) {
                open = e;
            }
        }
        if (!open) {
            EXPECT_EQ(beeps_, beeps + 1);
            EXPECT_TRUE(after == before) << "a refused move changed the board";
            return;
        }
        EXPECT_EQ(beeps_, beeps);
        EXPECT_EQ(after.pen, target);
        EXPECT_EQ(after.TracedCount(), before.TracedCount() + 1);
        EXPECT_TRUE(after.traced[static_cast<std::size_t>(*open)]);
        for (std::size_t i = 0; i < before.traced.size(); ++i) {
            EXPECT_TRUE(!before.traced[i] || after.traced[i]) << "edge " << i << " went faint";
        }
        ++moves_;
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
        EXPECT_EQ(s.TracedCount(), 0);
        EXPECT_EQ(beeps_, beeps);
    }

    void Help(bool byKey) {
        helpBefore_ = State();
        const QImage picture = Picture();
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
        EXPECT_TRUE(State() == helpBefore_) << "Help changed the board";
        EXPECT_EQ(Picture(), picture);
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
        EXPECT_EQ(QApplication::activeModalWidget(), d);
        EXPECT_TRUE(State() == helpBefore_) << "opening Help changed the board";
        switch (helpShown_++ % 3) {
        case 0:
            QTest::keyClick(d, Qt::Key_Escape);
            break;
        case 1:
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
            break;
        default:
            d->Unload();
            break;
        }
        if (d->isVisible()) {
            ADD_FAILURE() << "dialog left open";
            d->done(0);
        }
    }

    BoardWindowQt board_;
    LinuxRegistry registry_;
    NothingToStart shell_;
    HelpDialogHost host_;
    int beeps_ = 0;
    int moves_ = 0;
    int helpShown_ = 0;
    BoardState helpBefore_;
};

TEST_F(BoardSoak, TenThousandClicksWithResetsAndHelpKeepTheBoardConsistent) {
    ASSERT_EQ(board_.screen()->logicalDotsPerInchX(), 96.0);
    ASSERT_EQ(board_.devicePixelRatioF(), 1.0);
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
        const BoardState s = State();
        CheckHighlight(s);
        if (step % kPixelCheckEvery == 0) {
            CheckPixels(s);
        }
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

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
