#include "board/core/BoardPicture.h"

namespace tessarline {

int ClientWidth(const TwipTransform& t) {
    return t.X(kClientWidthTwips);
}
int ClientHeight(const TwipTransform& t) {
    return t.Y(kClientHeightTwips);
}

PixelRect BoxRect(int node, const TwipTransform& t) {
    const BoxLayout& b = kBoxes.at(static_cast<std::size_t>(node - 1));
    const int x = t.X(b.left);
    const int y = t.Y(b.top);
    return {x, y, t.X(b.left + b.width) - x, t.Y(b.top + b.height) - y};
}

int BoxBorderWidth(const TwipTransform& t) {
    return t.PenWidth();
}

NodeIndex NodeAt(TwipPoint p) {
    for (int i = 0; i < kNodeCount; ++i) {
        const BoxLayout& b = kBoxes[static_cast<std::size_t>(i)];
        if (p.x >= b.left && p.x < b.left + b.width && p.y >= b.top && p.y < b.top + b.height) {
            return static_cast<NodeIndex>(i + 1);
        }
    }
    return 0;
}

NodeIndex NodeAtPixel(int x, int y, const TwipTransform& t) {
    for (int n = 1; n <= kNodeCount; ++n) {
        const PixelRect r = BoxRect(n, t);
        if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) {
            return static_cast<NodeIndex>(n);
        }
    }
    return 0;
}

PixelBuffer RenderBoard(const Form1& form, const TwipTransform& t) {
    PixelBuffer image(ClientWidth(t), ClientHeight(t), kBoardBackColor);
    // A reset paints every arc faint; a move paints one black over it. Where two arcs meet,
    // the later stroke shows, so the faint arcs go first.
    if (form.ArcsPainted()) {
        for (const bool faint : {true, false}) {
            for (std::size_t i = 0; i < kArcs.size(); ++i) {
                const Edge edge = static_cast<Edge>(kLineCount + static_cast<int>(i));
                if (form.ArcFlag(edge) == faint) {
                    DrawArc(image, t, ArcCircle.centre, ArcCircle.radius,
                            ArcAngle(kArcs[i].startBits), ArcAngle(kArcs[i].endBits),
                            ToPixel(faint ? FaintColor : TracedColor));
                }
            }
        }
    }
    // Lines in their stacking order, which decides the diagonals' crossing; then the boxes,
    // which overlap nothing but line and arc ends, above them all.
    for (const Control* c : form.StackingOrder()) {
        for (int k = 1; k <= kLineCount; ++k) {
            if (c == &form.linLine(k)) {
                const LineLayout& l = kLines[static_cast<std::size_t>(k - 1)];
                DrawLine(image, t, l.from, l.to, ToPixel(form.linLine(k).BorderColor));
            }
        }
    }
    const int bw = BoxBorderWidth(t);
    for (int n = 1; n <= kNodeCount; ++n) {
        const PixelRect r = BoxRect(n, t);
        image.FillRect(r.x, r.y, r.width, r.height, ToPixel(kBoxBorderColor));
        image.FillRect(r.x + bw, r.y + bw, r.width - 2 * bw, r.height - 2 * bw,
                       ToPixel(form.lblNode(n).BackColor));
    }
    return image;
}

} // namespace tessarline
