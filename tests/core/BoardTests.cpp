// The board's rules: the move table in every state (which holds that no game traces ten
// edges), reset, what the board tells its window, and the keyboard and screen-reader views.
#include "board/core/BoardAccess.h"
#include "board/core/BoardInput.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace tessarline {
namespace {

using testing::FakeBoardWindow;

unsigned Bit(Edge e) {
    return 1u << static_cast<int>(e);
}

unsigned TracedMask(const Form1& f) {
    unsigned m = 0;
    for (Edge e : kAllEdges) {
        m |= f.IsFaint(e) ? 0u : Bit(e);
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

// The line and, on the sides of the square, the arc joining two nodes, written out by hand so
// that a slip in the geometry's table shows.
const std::map<std::pair<int, int>, std::pair<Edge, std::optional<Edge>>> kPairs = {
    {{1, 2}, {Edge::Line2, Edge::Arc12}},  {{1, 3}, {Edge::Line1, Edge::Arc13}},
    {{1, 4}, {Edge::Line5, std::nullopt}}, {{2, 3}, {Edge::Line6, std::nullopt}},
    {{2, 4}, {Edge::Line3, Edge::Arc24}},  {{3, 4}, {Edge::Line4, Edge::Arc34}},
};

struct Board : ::testing::Test {
    void Play(std::initializer_list<int> clicks) {
        for (int n : clicks) {
            f.lblNode_Click(static_cast<NodeIndex>(n));
        }
    }
    FakeBoardWindow w;
    Form1 f{w};
};

TEST_F(Board, LoadShowsTheWindowThenTheFreshBoardInOneChange) {
    Play({1, 2}); // before the first reset a click is ignored
    EXPECT_EQ(f.CurrentNode, 0);
    EXPECT_EQ(w.beeps + w.changes, 0);
    f.Form_Load();
    EXPECT_EQ(w.shows, 1);
    EXPECT_EQ(w.changes, 1);
    EXPECT_EQ(TracedMask(f), 0u);
    EXPECT_EQ(Highlighted(f), std::set<int>{1});
    const std::vector<int> z = Take(f).z;
    EXPECT_LT(std::find(z.begin(), z.end(), 5), std::find(z.begin(), z.end(), 6)); // 6 above 5
    EXPECT_TRUE(w.news[0].picture && w.news[0].boardDescription);
    EXPECT_EQ(w.news[0].announcement, L""); // the program's start is not news to the player
    f.mnuHelp_Click();
    EXPECT_EQ(w.helps, 1);
    EXPECT_EQ(w.changes, 1);
    // Reset on the fresh board changes no pixel but still tells the player.
    f.mnuReset_Click();
    ASSERT_EQ(w.changes, 2);
    EXPECT_FALSE(w.news[1].picture || w.news[1].boardDescription || w.news[1].focusMoved);
    EXPECT_EQ(w.news[1].announcement, L"Board reset. Pen on box 1. 0 of 10 edges traced.");
    Play({2});
    f.mnuReset_Click();
    EXPECT_TRUE(w.news.back().picture && w.news.back().boardDescription);
    EXPECT_EQ(w.news.back().boxDescription, (std::array<bool, 4>{true, true, true, true}));
}

// Every pen, every clicked index and every combination of traced edges. A move is one change
// of what the window shows; a beep or a click on no other box changes nothing. Each case
// starts with a Reset from the board the case before left, which must give the fresh board.
TEST_F(Board, MoveTableInEveryEdgeStateAndResetFromEach) {
    f.Form_Load();
    const Snapshot fresh = Take(f);
    for (unsigned traced = 0; traced < 1024; ++traced) {
        for (int pen = 1; pen <= 4; ++pen) {
            for (int click = -1; click <= 5; ++click) {
                const int changes = w.changes;
                f.mnuReset_Click();
                ASSERT_EQ(Take(f), fresh);
                ASSERT_EQ(w.changes, changes + 1);
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
                const int changesBefore = w.changes;
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
                SCOPED_TRACE(::testing::Message()
                             << "traced " << traced << " pen " << pen << " click " << click);
                ASSERT_EQ(w.beeps - beeps, beep ? 1 : 0);
                // One account for a move or a refusal, saying what happened; none otherwise.
                ASSERT_EQ(w.changes - changesBefore, expected || beep ? 1 : 0);
                if (beep) {
                    ASSERT_FALSE(w.news.back().picture);
                    ASSERT_EQ(w.news.back().announcement, L"No faint edge from box " +
                                                              std::to_wstring(pen) + L" to box " +
                                                              std::to_wstring(click) + L".");
                }
                if (!expected) {
                    ASSERT_EQ(Take(f), before);
                    continue;
                }
                ASSERT_TRUE(w.news.back().picture);
                ASSERT_EQ(w.news.back().announcement,
                          L"Pen on box " + std::to_wstring(click) + L". " +
                              std::to_wstring(std::popcount(traced | Bit(*expected))) +
                              L" of 10 edges traced.");
                ASSERT_EQ(TracedMask(f), traced | Bit(*expected));
                ASSERT_EQ(f.CurrentNode, click);
                ASSERT_EQ(Highlighted(f), std::set<int>{click});
                if (!IsLine(*expected)) { // an arc raises the boxes at its ends
                    const std::vector<int> z = Take(f).z;
                    ASSERT_EQ(std::set<int>(z.end() - 2, z.end()),
                              (std::set<int>{10 + pen, 10 + click}));
                }
            }
        }
    }
}

// The keys: the same clicks as the mouse, the focus along the figure and round the square,
// shown from the first key on; one account for each key that changed anything. A held key
// clicks once but moves the focus on.
TEST_F(Board, KeysClickBoxesAndMoveTheFocusAlongTheFigure) {
    BoardInput input(f);
    EXPECT_FALSE(input.Key(BoardKey::Right)); // nothing to do before the first reset
    f.Form_Load();
    EXPECT_EQ(input.Focus(), 1);
    EXPECT_FALSE(input.FocusShown());
    const struct {
        BoardKey key;
        NodeIndex focus, pen;
    } steps[] = {
        {BoardKey::Left, 1, 1},     {BoardKey::Up, 1, 1},       {BoardKey::Right, 2, 1},
        {BoardKey::Right, 2, 1},    {BoardKey::Down, 4, 1},     {BoardKey::Down, 4, 1},
        {BoardKey::Left, 3, 1},     {BoardKey::Up, 1, 1},       {BoardKey::Next, 2, 1},
        {BoardKey::Next, 4, 1},     {BoardKey::Next, 3, 1},     {BoardKey::Next, 1, 1},
        {BoardKey::Previous, 3, 1}, {BoardKey::Activate, 3, 3}, {BoardKey::Box4, 3, 4},
        {BoardKey::Box4, 3, 4},     {BoardKey::Previous, 4, 4}, {BoardKey::Activate, 4, 4},
        {BoardKey::Box2, 4, 2},
    };
    int changes = w.changes;
    NodeIndex focus = 1, pen = 1;
    for (const auto& s : steps) {
        SCOPED_TRACE(::testing::Message() << "step " << &s - steps);
        // Held down, a clicking key does nothing more; the first press did it.
        EXPECT_TRUE(input.Key(s.key, s.key <= BoardKey::Box4 && s.pen == pen));
        EXPECT_TRUE(input.FocusShown());
        EXPECT_EQ(input.Focus(), s.focus);
        EXPECT_EQ(f.CurrentNode, s.pen);
        const bool cueOrFocus = &s == steps || s.focus != focus;
        EXPECT_EQ(w.changes - changes, cueOrFocus || s.pen != pen ? 1 : 0);
        if (w.changes != changes) { // the cue, the focus or a move: the window repaints
            EXPECT_EQ(w.news.back().focusMoved, s.focus != focus);
            EXPECT_TRUE(w.news.back().picture);
        }
        changes = w.changes;
        focus = s.focus;
        pen = s.pen;
    }
    EXPECT_EQ(w.beeps, 0); // 4 twice: the second is the pen's own box
    EXPECT_EQ(TracedMask(f), Bit(Edge::Line1) | Bit(Edge::Line4) | Bit(Edge::Line3));
    input.Key(BoardKey::Down, true); // a held arrow moves on
    EXPECT_EQ(input.Focus(), 4);
    EXPECT_EQ(BoardKeyForCharacter(U'3'), BoardKey::Box3);
    EXPECT_EQ(BoardKeyForCharacter(U'5'), std::nullopt);
    EXPECT_EQ(BoardKeyForCharacter(U'0'), std::nullopt);
}

TEST_F(Board, PointerClicksOnlyWhenPressAndReleaseMeetOnOneBox) {
    f.Form_Load();
    BoardInput input(f);
    const TwipTransform t = TwipTransform::ForDevice(1.0);
    // Box 2 is at (140, 40) at 100%, box 3 at (40, 140), nothing at (88, 88). Released over
    // another box, cancelled, or pressed on none: no click.
    EXPECT_TRUE(input.Press(140, 40, t));
    input.Release(40, 140, t);
    EXPECT_TRUE(input.Press(140, 40, t));
    input.Cancel();
    input.Release(140, 40, t);
    EXPECT_FALSE(input.Press(88, 88, t));
    input.Release(140, 40, t);
    EXPECT_EQ(f.CurrentNode, 1);
    input.Press(140, 40, t);
    input.Release(140, 40, t);
    EXPECT_EQ(f.CurrentNode, 2);
}

TEST_F(Board, ScreenReaderTextFollowsTheBoard) {
    EXPECT_EQ(BoardDescription(f), L"0 of 10 edges traced");
    f.Form_Load();
    Play({2, 1, 3, 4, 1});
    // Traced: line 1-2, arc 1-2, line 1-3, line 3-4, diagonal 1-4.
    EXPECT_EQ(BoardDescription(f), L"5 of 10 edges traced");
    EXPECT_EQ(BoxName(3), L"Box 3");
    EXPECT_EQ(BoxDescription(f, 1), L"pen here");
    EXPECT_EQ(BoxDescription(f, 2), L"none faint");
    EXPECT_EQ(BoxDescription(f, 3), L"arc faint");
    f.lblNode_Click(3);
    EXPECT_EQ(BoxDescription(f, 4), L"arc faint");
    EXPECT_EQ(BoxDescription(f, 2), L"line faint");
    f.mnuReset_Click();
    EXPECT_EQ(BoxDescription(f, 2), L"line and arc faint");
    EXPECT_EQ(BoxDescription(f, 4), L"line faint");
}

} // namespace
} // namespace tessarline
