// The board: the main window's state and its handlers. It owns the pen, the arc flags and the
// node and line controls; the window it runs in is reached through BoardWindow.
#pragma once

#include "board/core/Controls.h"
#include "board/core/Geometry.h"

#include <array>
#include <vector>

namespace tessarline {

// What the board's logic needs of the window it lives in.
class BoardWindow {
public:
    virtual ~BoardWindow() = default;
    // Makes the main window visible, modeless and without an owner.
    virtual void Show() = 0;
    // What the window shows has changed: a colour, the stacking order or an arc. Called once
    // at the end of each handler or operation that changed something, never for one that did
    // not; the window repaints from the board's state.
    virtual void Changed() = 0;
    // The platform's plain alert sound.
    virtual void Beep() = 0;
    // Shows the help dialog modally and returns when it has closed.
    virtual void ShowHelp() = 0;
};

class Form1 {
public:
    explicit Form1(BoardWindow& window);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Handlers.
    void Form_Load();
    void mnuReset_Click();
    void mnuHelp_Click();
    void lblNode_Click(NodeIndex Index);

    // The window the board lives in.
    BoardWindow& Window() const { return window_; }
    // The box of the latest click, so that a front end can tell which box a beep refused.
    NodeIndex LastClicked() const { return lastClicked_; }

    // Board operations.
    void ResetBoard();
    void MovePen(NodeIndex newNode);
    static void SwapNodeColors(Control& box);
    void FaintEdge(Edge edge);
    void TraceEdge(Edge edge);

    // Controls, indexed from 1 as the window's control arrays are. Out-of-range indices throw.
    NodeLabel& lblNode(int index);
    const NodeLabel& lblNode(int index) const;
    LineControl& linLine(int index);
    const LineControl& linLine(int index) const;

    // Brings a box or a line to the top of the window's z-order.
    void ZOrder(const Control& control);
    // Boxes and lines from the bottom of the z-order to the top.
    const std::vector<const Control*>& StackingOrder() const { return stacking_; }

    // True while the edge is untraced: a line whose colour is the faint one, or an arc whose
    // flag is set.
    bool IsFaint(Edge edge) const;
    bool ArcFlag(Edge arc) const;
    // Whether the arcs have been painted yet: not before the first reset.
    bool ArcsPainted() const { return CurrentNode != 0; }

    // Board state, in the order the window declares it. Flags are true while their arc is
    // untraced; CurrentNode is 0 until the first reset.
    bool ArcFaint12 = false;
    bool ArcFaint13 = false;
    bool ArcFaint24 = false;
    bool ArcFaint34 = false;
    NodeIndex CurrentNode = 0;

private:
    // Gathers the changes of one handler or operation, however nested, into one Changed call
    // at its end.
    class ChangeScope {
    public:
        explicit ChangeScope(Form1& form);
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;
        ~ChangeScope();

    private:
        Form1& form_;
    };

    bool& ArcFlagRef(Edge arc);
    void DrawEdge(Edge edge, Colour colour);

    BoardWindow& window_;
    NodeIndex lastClicked_ = 0;
    int changeDepth_ = 0;
    bool changed_ = false;
    std::array<NodeLabel, kNodeCount> nodes_;
    std::array<LineControl, kLineCount> lines_;
    std::vector<const Control*> stacking_;
};

} // namespace tessarline
