// The figure: window size, boxes, lines, arcs and the edge table, in twips. Everything that
// draws the figure (both front ends, the icon and the help picture) reads it from here.
#pragma once

#include "board/core/Types.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

namespace tessarline {

inline constexpr int kTwipsPerPixel = 15; // at 96 dots per inch
inline constexpr int kClientWidthTwips = 2670;
inline constexpr int kClientHeightTwips = 2685;

inline constexpr Colour kBoardBackColor = 0x00008000u;
inline constexpr Colour FaintColor = 0x00009000u;
inline constexpr Colour TracedColor = 0x00000000u;
// The usual colour of a flat single border.
inline constexpr Colour kBoxBorderColor = 0x00000000u;

inline constexpr int kNodeCount = 4;
inline constexpr int kLineCount = 6;
inline constexpr int kArcCount = 4;
inline constexpr int kEdgeCount = kLineCount + kArcCount;

// The ten edges: the six lines, then the four arcs named by the boxes they join.
enum class Edge : std::uint8_t {
    Line1,
    Line2,
    Line3,
    Line4,
    Line5,
    Line6,
    Arc12,
    Arc13,
    Arc24,
    Arc34
};

inline constexpr std::array<Edge, kEdgeCount> kAllEdges = {
    Edge::Line1, Edge::Line2, Edge::Line3, Edge::Line4, Edge::Line5,
    Edge::Line6, Edge::Arc12, Edge::Arc13, Edge::Arc24, Edge::Arc34};

constexpr bool IsLine(Edge e) {
    return static_cast<int>(e) < kLineCount;
}
// 1-based index of a line edge (linLine(1) to linLine(6)).
constexpr int LineIndex(Edge e) {
    return static_cast<int>(e) + 1;
}
// 0-based index of an arc edge into kArcs.
constexpr int ArcSlot(Edge e) {
    return static_cast<int>(e) - kLineCount;
}
constexpr Edge LineEdge(int index) {
    return static_cast<Edge>(index - 1);
}

struct BoxLayout {
    int left;
    int top;
    int width;
    int height;
    wchar_t caption;
};

// lblNode(1) to lblNode(4), at the corners of the square.
inline constexpr std::array<BoxLayout, kNodeCount> kBoxes = {{
    {480, 480, 255, 255, L'1'},
    {1920, 480, 255, 255, L'2'},
    {480, 1920, 255, 255, L'3'},
    {1920, 1920, 255, 255, L'4'},
}};

struct LineLayout {
    TwipPoint from;
    TwipPoint to;
    NodeIndex nodeA;
    NodeIndex nodeB;
};

// linLine(1) to linLine(6): the four sides, then the two diagonals.
inline constexpr std::array<LineLayout, kLineCount> kLines = {{
    {{600, 720}, {600, 1920}, 1, 3},
    {{720, 600}, {1920, 600}, 1, 2},
    {{2040, 720}, {2040, 1920}, 2, 4},
    {{720, 2040}, {1920, 2040}, 3, 4},
    {{720, 720}, {1920, 1920}, 1, 4},
    {{720, 1920}, {1920, 720}, 2, 3},
}};

// The circle through the four boxes, on which every arc is drawn.
struct CircleLayout {
    TwipPoint centre;
    int radius;
};
inline constexpr CircleLayout ArcCircle = {{1320, 1320}, 1100};

// Bit patterns of the single-precision constants 3.14159 times 1, 3, 5 and 7; every arc angle
// is one of them divided by 4.
inline constexpr std::uint32_t kPiTimes1Bits = 0x40490FD0u;
inline constexpr std::uint32_t kPiTimes3Bits = 0x4116CBDCu;
inline constexpr std::uint32_t kPiTimes5Bits = 0x417B53C4u;
inline constexpr std::uint32_t kPiTimes7Bits = 0x41AFEDD6u;

struct ArcLayout {
    NodeIndex nodeA; // the end box with the lower index, raised first
    NodeIndex nodeB;
    std::uint32_t startBits;
    std::uint32_t endBits;
};

// Arcs 1-2, 1-3, 2-4 and 3-4, each drawn counter-clockwise from start to end.
inline constexpr std::array<ArcLayout, kArcCount> kArcs = {{
    {1, 2, kPiTimes1Bits, kPiTimes3Bits},
    {1, 3, kPiTimes3Bits, kPiTimes5Bits},
    {2, 4, kPiTimes7Bits, kPiTimes1Bits},
    {3, 4, kPiTimes5Bits, kPiTimes7Bits},
}};

// An arc angle in radians: the constant with the given bit pattern divided by 4, in single
// precision. The bits are copied rather than bit_cast, which not every standard library in use
// has yet.
inline float ArcAngle(std::uint32_t bits) {
    static_assert(sizeof(float) == sizeof bits);
    float constant = 0.0f;
    std::memcpy(&constant, &bits, sizeof constant);
    return constant / 4.0f;
}

// The edges joining two distinct nodes: always one line, and an arc on the four sides.
struct NodePairEdges {
    Edge line;
    std::optional<Edge> arc;
};

constexpr std::optional<NodePairEdges> EdgesBetween(NodeIndex a, NodeIndex b) {
    std::optional<NodePairEdges> found;
    for (int i = 0; i < kLineCount; ++i) {
        const LineLayout& l = kLines[static_cast<std::size_t>(i)];
        if ((l.nodeA == a && l.nodeB == b) || (l.nodeA == b && l.nodeB == a)) {
            found = NodePairEdges{LineEdge(i + 1), std::nullopt};
        }
    }
    if (!found) {
        return found;
    }
    for (int i = 0; i < kArcCount; ++i) {
        const ArcLayout& c = kArcs[static_cast<std::size_t>(i)];
        if ((c.nodeA == a && c.nodeB == b) || (c.nodeA == b && c.nodeB == a)) {
            found->arc = static_cast<Edge>(kLineCount + i);
        }
    }
    return found;
}

// The two nodes an edge joins.
constexpr std::array<NodeIndex, 2> EdgeNodes(Edge e) {
    if (IsLine(e)) {
        const LineLayout& l = kLines[static_cast<std::size_t>(LineIndex(e) - 1)];
        return {l.nodeA, l.nodeB};
    }
    const ArcLayout& c = kArcs[static_cast<std::size_t>(ArcSlot(e))];
    return {c.nodeA, c.nodeB};
}

} // namespace tessarline
