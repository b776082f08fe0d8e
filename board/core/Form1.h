// The board: the main window's state and its handlers. It owns the pen, the arc flags and the
// node and line controls; the window it runs in is reached through BoardWindow.
#pragma once

#include "board/core/BoardNews.h"
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
    // The account of one handler or operation, however nested: called once at its end when it
    // changed what the window shows or has something to tell the player, never otherwise. The
    // window repaints from the board's state when news.picture says so.
    virtual void Changed(const BoardNews& news) = 0;
    // The platform's plain alert sound.
    virtual void Beep() = 0;
    // Shows the help dialog modally and returns when it has closed.
    virtual void ShowHelp() = 0;
};

// Where the keyboard focus is, for the board's account of a handler.
class KeyboardFocus {
public:
    virtual ~KeyboardFocus() = default;
    virtual NodeIndex Focus() const = 0;
    virtual bool FocusShown() const = 0;

protected:
    KeyboardFocus() = default;
    KeyboardFocus(const KeyboardFocus&) = default;
    KeyboardFocus& operator=(const KeyboardFocus&) = default;
};

class Form1 {
public:
    // One handler: gathers the changes made while it lives, however nested, into one account
    // for the window at its end.
    class Handler {
    public:
        explicit Handler(Form1& form);
        Handler(const Handler&) = delete;
        Handler& operator=(const Handler&) = delete;
        ~Handler();

    private:
        Form1& form_;
    };

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
    // The box of the latest click.
    NodeIndex LastClicked() const { return lastClicked_; }
    // The keyboard whose focus the account reports; none until one is attached.
    void AttachKeyboard(const KeyboardFocus* keyboard) { keyboard_ = keyboard; }
    // The box with the keyboard focus: the pen's while no key has moved it.
    NodeIndex KeyFocus() const;

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
    // Everything the window's pixels depend on, to tell whether a handler changed them.
    struct Look {
        std::array<Colour, 2 * kNodeCount + kLineCount> colours{};
        std::array<bool, kArcCount> arcs{};
        std::array<const Control*, kNodeCount + kLineCount> stacking{};
        NodeIndex cue = 0;
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook() const;

    bool& ArcFlagRef(Edge arc);
    void DrawEdge(Edge edge, Colour colour);

    BoardWindow& window_;
    const KeyboardFocus* keyboard_ = nullptr;
    NodeIndex lastClicked_ = 0;
    int handlerDepth_ = 0;
    Look before_;
    std::wstring announcement_;
    BoardTold told_;
    std::array<NodeLabel, kNodeCount> nodes_;
    std::array<LineControl, kLineCount> lines_;
    std::vector<const Control*> stacking_;
};

} // namespace tessarline
