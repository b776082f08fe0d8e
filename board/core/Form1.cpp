#include "board/core/Form1.h"

#include <algorithm>
#include <stdexcept>

namespace tessarline {

namespace {

bool IsNode(NodeIndex n) {
    return n >= 1 && n <= kNodeCount;
}

} // namespace

Form1::Form1(BoardWindow& window) : window_(window) {
    // Lines at the bottom, boxes above them, so that the lines' ends never cover a box.
    for (const LineControl& line : lines_) {
        stacking_.push_back(&line);
    }
    for (const NodeLabel& box : nodes_) {
        stacking_.push_back(&box);
    }
}

Form1::Handler::Handler(Form1& form) : form_(form) {
    if (form_.handlerDepth_++ == 0) {
        form_.before_ = form_.CurrentLook();
    }
}

Form1::Handler::~Handler() {
    // Before the first reset the window shows nothing of the board, so there is nothing to tell.
    if (--form_.handlerDepth_ != 0 || !form_.ArcsPainted()) {
        return;
    }
    BoardNews news;
    news.picture = form_.CurrentLook() != form_.before_;
    form_.told_.Update(form_, form_.KeyFocus(), news);
    news.announcement = std::move(form_.announcement_);
    form_.announcement_.clear();
    if (news.Any()) {
        form_.window_.Changed(news);
    }
}

NodeIndex Form1::KeyFocus() const {
    const NodeIndex focus = keyboard_ != nullptr ? keyboard_->Focus() : 0;
    return focus != 0 ? focus : CurrentNode;
}

Form1::Look Form1::CurrentLook() const {
    Look look;
    std::size_t i = 0;
    for (const NodeLabel& box : nodes_) {
        look.colours[i++] = box.BackColor;
        look.colours[i++] = box.ForeColor;
    }
    for (const LineControl& line : lines_) {
        look.colours[i++] = line.BorderColor;
    }
    look.arcs = {ArcFaint12, ArcFaint13, ArcFaint24, ArcFaint34};
    std::copy(stacking_.begin(), stacking_.end(), look.stacking.begin());
    look.cue = keyboard_ != nullptr && keyboard_->FocusShown() ? KeyFocus() : 0;
    return look;
}

NodeLabel& Form1::lblNode(int index) {
    return nodes_.at(static_cast<std::size_t>(index - 1));
}
const NodeLabel& Form1::lblNode(int index) const {
    return nodes_.at(static_cast<std::size_t>(index - 1));
}
LineControl& Form1::linLine(int index) {
    return lines_.at(static_cast<std::size_t>(index - 1));
}
const LineControl& Form1::linLine(int index) const {
    return lines_.at(static_cast<std::size_t>(index - 1));
}

void Form1::ZOrder(const Control& control) {
    auto it = std::find(stacking_.begin(), stacking_.end(), &control);
    if (it == stacking_.end()) {
        throw std::invalid_argument("control does not belong to the board");
    }
    if (it + 1 == stacking_.end()) {
        return;
    }
    const Handler handler(*this);
    std::rotate(it, it + 1, stacking_.end());
}

bool& Form1::ArcFlagRef(Edge arc) {
    switch (arc) {
    case Edge::Arc12:
        return ArcFaint12;
    case Edge::Arc13:
        return ArcFaint13;
    case Edge::Arc24:
        return ArcFaint24;
    case Edge::Arc34:
        return ArcFaint34;
    default:
        throw std::invalid_argument("edge is not an arc");
    }
}

bool Form1::ArcFlag(Edge arc) const {
    return const_cast<Form1*>(this)->ArcFlagRef(arc);
}

bool Form1::IsFaint(Edge edge) const {
    return IsLine(edge) ? linLine(LineIndex(edge)).BorderColor == FaintColor : ArcFlag(edge);
}

void Form1::DrawEdge(Edge edge, Colour colour) {
    const Handler handler(*this);
    if (IsLine(edge)) {
        const int k = LineIndex(edge);
        linLine(k).BorderColor = colour;
        // Whichever diagonal was drawn last lies on top where the two cross.
        if (k == 5 || k == 6) {
            ZOrder(linLine(k));
        }
        return;
    }
    // The arc is painted from its flag. Its ends lie inside its two boxes, which must stay
    // above it.
    const ArcLayout& arc = kArcs[static_cast<std::size_t>(ArcSlot(edge))];
    ZOrder(lblNode(arc.nodeA));
    ZOrder(lblNode(arc.nodeB));
    ArcFlagRef(edge) = colour == FaintColor;
}

void Form1::FaintEdge(Edge edge) {
    DrawEdge(edge, FaintColor);
}

void Form1::TraceEdge(Edge edge) {
    DrawEdge(edge, TracedColor);
}

void Form1::SwapNodeColors(Control& box) {
    const Colour back = box.GetProperty("BackColor");
    const Colour fore = box.GetProperty("ForeColor");
    box.SetProperty("BackColor", fore);
    box.SetProperty("ForeColor", back);
}

void Form1::MovePen(NodeIndex newNode) {
    const Handler handler(*this);
    SwapNodeColors(lblNode(CurrentNode));
    CurrentNode = newNode;
    SwapNodeColors(lblNode(CurrentNode));
}

void Form1::ResetBoard() {
    const Handler handler(*this);
    for (Edge arc : {Edge::Arc13, Edge::Arc24, Edge::Arc34, Edge::Arc12}) {
        FaintEdge(arc);
    }
    for (int k : {1, 3, 2, 4, 5, 6}) {
        FaintEdge(LineEdge(k));
    }
    for (int n = 1; n <= kNodeCount; ++n) {
        lblNode(n).BackColor = kWhite;
        lblNode(n).ForeColor = kBlack;
    }
    CurrentNode = 1;
    SwapNodeColors(lblNode(1));
}

void Form1::Form_Load() {
    window_.Show();
    ResetBoard();
}

void Form1::mnuReset_Click() {
    const Handler handler(*this);
    ResetBoard();
    announcement_ = ResetAnnouncement(*this);
}

void Form1::mnuHelp_Click() {
    window_.ShowHelp();
}

void Form1::lblNode_Click(NodeIndex Index) {
    const Handler handler(*this);
    lastClicked_ = Index;
    if (!IsNode(CurrentNode) || !IsNode(Index) || Index == CurrentNode) {
        return;
    }
    const NodePairEdges pair = *EdgesBetween(CurrentNode, Index);
    if (IsFaint(pair.line)) {
        MovePen(Index);
        TraceEdge(pair.line);
    } else if (pair.arc && IsFaint(*pair.arc)) {
        MovePen(Index);
        TraceEdge(*pair.arc);
    } else {
        announcement_ = RefusalAnnouncement(CurrentNode, Index);
        window_.Beep();
        return;
    }
    announcement_ = MoveAnnouncement(*this);
}

} // namespace tessarline
