#include "board/core/BoardPicture.h"

#include <algorithm>

namespace tessarline {

void BoardSurface::DrawArc(TwipPoint centre, int radius, Colour colour, float start, float end) {
    auto same = [&](const Stroke& s) {
        return s.centre.x == centre.x && s.centre.y == centre.y && s.radius == radius &&
               s.start == start && s.end == end;
    };
    // Painted over: the newest stroke of an arc goes last so that it shows on top.
    strokes_.erase(std::remove_if(strokes_.begin(), strokes_.end(), same), strokes_.end());
    strokes_.push_back({centre, radius, colour, start, end});
}

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

PixelBuffer RenderBoard(const Form1& form, const BoardSurface& surface, const TwipTransform& t) {
    PixelBuffer image(ClientWidth(t), ClientHeight(t), kBoardBackColor);
    for (const BoardSurface::Stroke& s : surface.Strokes()) {
        DrawArc(image, t, s.centre, s.radius, s.start, s.end, ToPixel(s.colour));
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
