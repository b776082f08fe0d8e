// The board's rules: reset, pen, move table, the most edges a game can trace, and the arcs and
// z-order the logic asks of its window.
#include "board/core/BoardPicture.h"
#include "board/core/Form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <optional>
#include <random>
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
        arcs.push_back({{c, r, colour, s, e}, form ? form->CurrentNode : NodeIndex{0}});
    }
    void Beep() override { ++beeps; }
    void ShowHelp() override { log += 'H'; }
    const Form1* form = nullptr;
    std::string log;
    std::vector<ArcCall> arcs;
    int beeps = 0;
};

// Everything the board shows or keeps, with the z-order as control numbers (lines 1 to 6,
// boxes 11 to 14) so that two boards can be compared.
struct Snapshot {
    std::vector<Colour> colours;
    std::vector<bool> flags;
    NodeIndex pen;
    std::vector<int> z;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const Form1& f) {
    Snapshot s{{}, {f.ArcFaint12, f.ArcFaint13, f.ArcFaint24, f.ArcFaint34}, f.CurrentNode, {}};
    for (int k = 1; k <= 6; ++k) {
        s.colours.push_back(f.linLine(k).BorderColor);
    }
    for (int n = 1; n <= 4; ++n) {
        s.colours.push_back(f.lblNode(n).BackColor);
        s.colours.push_back(f.lblNode(n).ForeColor);
    }
    for (const Control* c : f.StackingOrder()) {
        int id = 0;
        for (int k = 1; k <= 6; ++k) {
            id = c == &f.linLine(k) ? k : id;
        }
        for (int n = 1; n <= 4; ++n) {
            id = c == &f.lblNode(n) ? 10 + n : id;
        }
        s.z.push_back(id);
    }
    return s;
}

int Position(const Form1& f, const Control& c) {
    const auto& z = f.StackingOrder();
    return static_cast<int>(std::find(z.begin(), z.end(), &c) - z.begin());
}

unsigned FaintMask(const Form1& f) {
    unsigned m = 0;
    for (Edge e : kAllEdges) {
        m |= f.IsFaint(e) ? 1u << static_cast<int>(e) : 0u;
    }
    return m;
}

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
    for (int n : {1, 2}) { // before the first reset a click is ignored
        f.lblNode_Click(static_cast<NodeIndex>(n));
    }
    EXPECT_EQ(f.CurrentNode, 0);
    EXPECT_EQ(w.beeps, 0);
    f.Form_Load();
    EXPECT_EQ(w.log, "SAAAA");
    // Arcs 1-3, 2-4, 3-4 and 1-2, by their start angles.
    const std::uint32_t starts[] = {0x4116CBDCu, 0x41AFEDD6u, 0x417B53C4u, 0x40490FD0u};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.arcs[static_cast<std::size_t>(i)].start,
                  std::bit_cast<float>(starts[i]) / 4.0f);
        EXPECT_EQ(w.arcs[static_cast<std::size_t>(i)].colour, kFaintColor);
    }
    EXPECT_EQ(FaintMask(f), 0x3FFu);
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(f.linLine(k).BorderColor, 0x00009000u);
    }
    EXPECT_EQ(f.CurrentNode, 1);
    EXPECT_EQ(Highlighted(f), std::set<int>{1});
    EXPECT_GT(Position(f, f.linLine(6)), Position(f, f.linLine(5)));
    f.mnuHelp_Click();
    EXPECT_EQ(w.log, "SAAAAH");
}

// Every pen, every clicked index and every combination of traced edges.
TEST_F(Board, MoveTableInEveryEdgeState) {
    for (unsigned traced = 0; traced < 1024; ++traced) {
        for (int pen = 1; pen <= 4; ++pen) {
            for (int click = -1; click <= 5; ++click) {
                f.ResetBoard();
                for (Edge e : kAllEdges) {
                    if (traced & (1u << static_cast<int>(e))) {
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
                    if (!(traced & (1u << static_cast<int>(line)))) {
                        expected = line;
                    } else if (arc && !(traced & (1u << static_cast<int>(*arc)))) {
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
                const unsigned bit = 1u << static_cast<int>(*expected);
                ASSERT_EQ(FaintMask(f), (~traced & 0x3FFu) & ~bit);
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

TEST_F(Board, ResetFromAnyBoardGivesTheFreshBoard) {
    f.Form_Load();
    const Snapshot fresh = Take(f);
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        const int steps = static_cast<int>(rng() % 40);
        for (int i = 0; i < steps; ++i) {
            const unsigned r = rng() % 12;
            if (r < 8) {
                f.lblNode_Click(static_cast<NodeIndex>(r % 4 + 1));
            } else if (r < 10) {
                f.TraceEdge(kAllEdges[rng() % 10]);
            } else {
                f.FaintEdge(kAllEdges[rng() % 10]);
            }
        }
        f.mnuReset_Click();
        ASSERT_EQ(Take(f), fresh) << "round " << round;
    }
}

TEST_F(Board, NineEdgeGames) {
    f.Form_Load();
    Play({2, 1, 3, 1, 4, 2, 4, 3, 4});
    EXPECT_EQ(FaintMask(f), 1u << static_cast<int>(Edge::Line6));

    f.mnuReset_Click();
    Play({2, 1, 3, 1, 4, 2, 3, 4, 2});
    EXPECT_EQ(FaintMask(f), 1u << static_cast<int>(Edge::Arc34));
    EXPECT_EQ(w.beeps, 0);
    const Snapshot end = Take(f);
    Play({1, 3, 4});
    EXPECT_EQ(w.beeps, 3);
    Play({2});
    EXPECT_EQ(w.beeps, 3);
    EXPECT_EQ(Take(f), end);
}

// Every board reachable from a fresh one, found by playing Form1 itself.
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
        if (!seen.insert({g.CurrentNode, FaintMask(g)}).second) {
            continue;
        }
        most = std::max(most, 10 - std::popcount(FaintMask(g)));
        for (int n = 1; n <= 4; ++n) {
            stack.push_back(path);
            stack.back().push_back(n);
        }
    }
    EXPECT_EQ(most, 9);
    EXPECT_GT(seen.size(), 100u);
}

TEST_F(Board, LongRandomPlayKeepsTheInvariants) {
    f.Form_Load();
    std::mt19937 rng(2024);
    unsigned traced = 0;
    int moves = 0;
    for (int i = 0; i < 50000; ++i) {
        if (rng() % 25 == 0) {
            f.mnuReset_Click();
            traced = 0;
            moves = 0;
        } else {
            const NodeIndex pen = f.CurrentNode;
            f.lblNode_Click(static_cast<NodeIndex>(rng() % 6));
            moves += f.CurrentNode != pen;
        }
        const unsigned now = ~FaintMask(f) & 0x3FFu;
        ASSERT_EQ(now & traced, traced) << "step " << i;
        traced = now;
        ASSERT_EQ(std::popcount(traced), moves);
        ASSERT_EQ(Highlighted(f), std::set<int>{f.CurrentNode});
    }
}

struct Panel : Control { // any control with both colour properties
    Colour back = 1, fore = 2, other = 3;
    Colour* FindProperty(std::string_view n) override {
        return n == "BackColor" ? &back : n == "ForeColor" ? &fore : nullptr;
    }
};

TEST_F(Board, SwapNodeColorsGoesByPropertyName) {
    Panel p;
    Form1::SwapNodeColors(p);
    EXPECT_EQ(p.back, 2u);
    EXPECT_EQ(p.fore, 1u);
    Form1::SwapNodeColors(p);
    EXPECT_EQ(p.back, 1u);
    LineControl line;
    line.BorderColor = 0x123456u;
    EXPECT_THROW(Form1::SwapNodeColors(line), NoSuchProperty);
    EXPECT_EQ(line.BorderColor, 0x123456u);
}

TEST_F(Board, ArcsAreDrawnFromTheBitPatternsAndRaiseTheirBoxes) {
    auto angle = [](std::uint32_t bits) { return std::bit_cast<float>(bits) / 4.0f; };
    struct Expect {
        Edge arc;
        std::uint32_t start, end;
        int boxA, boxB;
    };
    const Expect table[] = {{Edge::Arc12, 0x40490FD0u, 0x4116CBDCu, 1, 2},
                            {Edge::Arc13, 0x4116CBDCu, 0x417B53C4u, 1, 3},
                            {Edge::Arc24, 0x41AFEDD6u, 0x40490FD0u, 2, 4},
                            {Edge::Arc34, 0x417B53C4u, 0x41AFEDD6u, 3, 4}};
    f.Form_Load();
    for (const Expect& x : table) {
        for (bool trace : {true, false}) {
            w.arcs.clear();
            trace ? f.TraceEdge(x.arc) : f.FaintEdge(x.arc);
            ASSERT_EQ(w.arcs.size(), 1u);
            const ArcCall& a = w.arcs[0];
            EXPECT_EQ(a.start, angle(x.start));
            EXPECT_EQ(a.end, angle(x.end));
            EXPECT_EQ(a.centre.x, 1320);
            EXPECT_EQ(a.centre.y, 1320);
            EXPECT_EQ(a.radius, 1100);
            EXPECT_EQ(a.colour, trace ? 0u : 0x9000u);
            EXPECT_EQ(f.IsFaint(x.arc), !trace);
            const auto& z = f.StackingOrder();
            EXPECT_EQ(z[z.size() - 2], &f.lblNode(x.boxA));
            EXPECT_EQ(z.back(), &f.lblNode(x.boxB));
        }
    }
}

} // namespace
} // namespace tessarline
