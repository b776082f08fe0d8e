// The board's rules: the move table, reset, the most edges a game can trace, and the arcs and
// z-order the logic asks of its window. Long random play is the Qt soak's job.
#include "board/core/BoardPicture.h"
#include "board/core/Form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tessarline {
namespace {

struct ArcCall : BoardSurface::Stroke {
    NodeIndex pen; // the pen's node when the arc was drawn
};

struct RecordingWindow : BoardWindow {
    void Show() override { log += 'S'; }
    void DrawArc(TwipPoint c, int r, Colour colour, float s, float e) override {
        log += 'A';
        EXPECT_TRUE(c.x == 1320 && c.y == 1320 && r == 1100);
        arcs.push_back({{c, r, colour, s, e}, form ? form->CurrentNode : NodeIndex{0}});
    }
    void Beep() override { ++beeps; }
    void ShowHelp() override { log += 'H'; }
    const Form1* form = nullptr;
    std::string log;
    std::vector<ArcCall> arcs;
    int beeps = 0;
};

unsigned TracedMask(const Form1& f) {
    unsigned m = 0;
    for (Edge e : kAllEdges) {
        m |= f.IsFaint(e) ? 0u : 1u << static_cast<int>(e);
    }
    return m;
}

// Everything the board shows or keeps, the z-order as control numbers (lines 1 to 6, boxes 11
// to 14), so that two boards can be compared.
struct Snapshot {
    std::vector<Colour> colours;
    unsigned traced;
    NodeIndex pen;
    std::vector<int> z;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const Form1& f) {
    Snapshot s{{}, TracedMask(f), f.CurrentNode, {}};
    std::map<const Control*, int> ids;
    for (int k = 1; k <= 6; ++k) {
        s.colours.push_back(f.linLine(k).BorderColor);
        ids[&f.linLine(k)] = k;
    }
    for (int n = 1; n <= 4; ++n) {
        s.colours.push_back(f.lblNode(n).BackColor);
        s.colours.push_back(f.lblNode(n).ForeColor);
        ids[&f.lblNode(n)] = 10 + n;
    }
    for (const Control* c : f.StackingOrder()) {
        s.z.push_back(ids.at(c));
    }
    return s;
}

// The boxes shown black on white; every other box must be white on black.
std::set<int> Highlighted(const Form1& f) {
    std::set<int> h;
    for (int n = 1; n <= 4; ++n) {
        const NodeLabel& b = f.lblNode(n);
        if (b.BackColor == kBlack && b.ForeColor == kWhite) {
            h.insert(n);
        } else {
            EXPECT_TRUE(b.BackColor == kWhite && b.ForeColor == kBlack) << "box " << n;
        }
    }
    return h;
}

unsigned Bit(Edge e) {
    return 1u << static_cast<int>(e);
}

// The pairs of nodes with the line and, on the sides of the square, the arc that joins them.
const std::map<std::pair<int, int>, std::pair<Edge, std::optional<Edge>>> kPairs = {
    {{1, 2}, {Edge::Line2, Edge::Arc12}},  {{1, 3}, {Edge::Line1, Edge::Arc13}},
    {{1, 4}, {Edge::Line5, std::nullopt}}, {{2, 3}, {Edge::Line6, std::nullopt}},
    {{2, 4}, {Edge::Line3, Edge::Arc24}},  {{3, 4}, {Edge::Line4, Edge::Arc34}},
};

struct Board : testing::Test {
    Board() { w.form = &f; }
    void Play(std::initializer_list<int> clicks) {
        for (int n : clicks) {
            f.lblNode_Click(static_cast<NodeIndex>(n));
        }
    }
    RecordingWindow w;
    Form1 f{w};
};

TEST_F(Board, LoadShowsTheWindowThenDrawsTheFreshBoard) {
    Play({1, 2}); // before the first reset a click is ignored
    EXPECT_EQ(f.CurrentNode, 0);
    EXPECT_EQ(w.beeps, 0);
    f.Form_Load();
    EXPECT_EQ(w.log, "SAAAA");
    EXPECT_EQ(TracedMask(f), 0u);
    EXPECT_EQ(f.linLine(1).BorderColor, 0x00009000u);
    EXPECT_EQ(Highlighted(f), std::set<int>{1});
    const std::vector<int> z = Take(f).z;
    EXPECT_LT(std::find(z.begin(), z.end(), 5), std::find(z.begin(), z.end(), 6)); // 6 above 5
    f.mnuHelp_Click();
    EXPECT_EQ(w.log, "SAAAAH");
}

// Every pen, every clicked index and every combination of traced edges. A refused move (a
// beep) and a click on no other box leave everything as it was. Each case starts with a Reset
// from the board the case before left, which must give the fresh board.
TEST_F(Board, MoveTableInEveryEdgeStateAndResetFromEach) {
    f.Form_Load();
    const Snapshot fresh = Take(f);
    for (unsigned traced = 0; traced < 1024; ++traced) {
        for (int pen = 1; pen <= 4; ++pen) {
            for (int click = -1; click <= 5; ++click) {
                f.mnuReset_Click();
                ASSERT_EQ(Take(f), fresh);
                for (Edge e : kAllEdges) {
                    if (traced & Bit(e)) {
                        f.TraceEdge(e);
                    }
                }
                if (pen != 1) {
                    f.MovePen(static_cast<NodeIndex>(pen));
                }
                const Snapshot before = Take(f);
                const int beeps = w.beeps;
                w.arcs.clear();
                f.lblNode_Click(static_cast<NodeIndex>(click));

                std::optional<Edge> expected;
                bool beep = false;
                if (click >= 1 && click <= 4 && click != pen) {
                    const auto& [line, arc] = kPairs.at(std::minmax(pen, click));
                    if (!(traced & Bit(line))) {
                        expected = line;
                    } else if (arc && !(traced & Bit(*arc))) {
                        expected = arc;
                    } else {
                        beep = true;
                    }
                }
                SCOPED_TRACE(testing::Message()
                             << "traced " << traced << " pen " << pen << " click " << click);
                ASSERT_EQ(w.beeps - beeps, beep ? 1 : 0);
                if (!expected) {
                    ASSERT_EQ(Take(f), before);
                    continue;
                }
                ASSERT_EQ(TracedMask(f), traced | Bit(*expected));
                ASSERT_EQ(f.CurrentNode, click);
                ASSERT_EQ(Highlighted(f), std::set<int>{click});
                if (!IsLine(*expected)) { // the pen moves before the edge is drawn
                    ASSERT_EQ(w.arcs.size(), 1u);
                    ASSERT_EQ(w.arcs[0].pen, click);
                }
            }
        }
    }
}

TEST_F(Board, NineEdgeGames) {
    f.Form_Load();
    Play({2, 1, 3, 1, 4, 2, 4, 3, 4});
    EXPECT_EQ(TracedMask(f), 0x3FFu & ~Bit(Edge::Line6));
    f.mnuReset_Click();
    Play({2, 1, 3, 1, 4, 2, 3, 4, 2});
    EXPECT_EQ(TracedMask(f), 0x3FFu & ~Bit(Edge::Arc34));
    EXPECT_EQ(w.beeps, 0);
}

// Every board reachable from a fresh one, found by playing Form1 itself: nine edges at most,
// never ten.
TEST_F(Board, NoGameTracesMoreThanNineEdges) {
    std::set<std::pair<int, unsigned>> seen;
    std::vector<std::vector<int>> stack{{}};
    int most = 0;
    while (!stack.empty()) {
        const std::vector<int> path = stack.back();
        stack.pop_back();
        RecordingWindow rw;
        Form1 g(rw);
        g.Form_Load();
        for (int n : path) {
            g.lblNode_Click(static_cast<NodeIndex>(n));
        }
        if (!seen.insert({g.CurrentNode, TracedMask(g)}).second) {
            continue;
        }
        most = std::max(most, std::popcount(TracedMask(g)));
        for (int n = 1; n <= 4; ++n) {
            stack.push_back(path);
            stack.back().push_back(n);
        }
    }
    EXPECT_EQ(most, 9);
    EXPECT_GT(seen.size(), 100u);
}

struct Panel : Control { // any control with both colour properties
    Colour back = 1, fore = 2;
    Colour* FindProperty(std::string_view n) override {
        return n == "BackColor" ? &back : n == "ForeColor" ? &fore : nullptr;
    }
};

TEST_F(Board, SwapNodeColorsGoesByPropertyName) {
    Panel p;
    Form1::SwapNodeColors(p);
    EXPECT_TRUE(p.back == 2u && p.fore == 1u);
    LineControl line;
    line.BorderColor = 0x123456u;
    EXPECT_THROW(Form1::SwapNodeColors(line), NoSuchProperty);
    EXPECT_EQ(line.BorderColor, 0x123456u);
}

// Each arc's angles are the quotients of the given bit patterns by 4, and drawing it raises
// the boxes at its ends.
TEST_F(Board, ArcsAreDrawnFromTheBitPatternsAndRaiseTheirBoxes) {
    const struct {
        Edge arc;
        std::uint32_t start, end;
        int boxA, boxB;
    } table[] = {{Edge::Arc12, 0x40490FD0u, 0x4116CBDCu, 1, 2},
                 {Edge::Arc13, 0x4116CBDCu, 0x417B53C4u, 1, 3},
                 {Edge::Arc24, 0x41AFEDD6u, 0x40490FD0u, 2, 4},
                 {Edge::Arc34, 0x417B53C4u, 0x41AFEDD6u, 3, 4}};
    f.Form_Load();
    for (const auto& x : table) {
        for (bool trace : {true, false}) {
            w.arcs.clear();
            trace ? f.TraceEdge(x.arc) : f.FaintEdge(x.arc);
            ASSERT_EQ(w.arcs.size(), 1u);
            EXPECT_EQ(w.arcs[0].start, std::bit_cast<float>(x.start) / 4.0f);
            EXPECT_EQ(w.arcs[0].end, std::bit_cast<float>(x.end) / 4.0f);
            EXPECT_EQ(w.arcs[0].colour, trace ? 0u : 0x9000u);
            const auto& z = f.StackingOrder();
            EXPECT_EQ(z[z.size() - 2], &f.lblNode(x.boxA));
            EXPECT_EQ(z.back(), &f.lblNode(x.boxB));
        }
    }
}

} // namespace
} // namespace tessarline
