#include "board/core/Form1.h"

#include <gtest/gtest.h>

namespace tessarline {
namespace {

struct NullWindow : BoardWindow {
    void Show() override {}
    void DrawArc(TwipPoint, int, Colour, float, float) override {}
    void Beep() override { ++beeps; }
    void ShowHelp() override {}
    int beeps = 0;
};

TEST(Board, NineEdgeSequenceLeavesOnlyTheAntiDiagonal) {
    NullWindow w;
    Form1 f(w);
    f.Form_Load();
    for (NodeIndex n : {2, 1, 3, 1, 4, 2, 4, 3, 4}) {
        f.lblNode_Click(n);
    }
    for (Edge e : kAllEdges) {
        EXPECT_EQ(f.IsFaint(e), e == Edge::Line6);
    }
    EXPECT_EQ(w.beeps, 0);
}

} // namespace
} // namespace tessarline
