#include "board/core/Raster.h"

#include "board/core/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <stdexcept>

namespace tessarline {

PixelBuffer::PixelBuffer(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(std::max(width, 0)) *
                                                  static_cast<std::size_t>(std::max(height, 0)),
                                              ToPixel(fill)) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("pixel buffer needs a positive size");
    }
}

Pixel PixelBuffer::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range("pixel outside the buffer");
    }
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void PixelBuffer::Set(int x, int y, Pixel p) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) {
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)] = p;
    }
}

void PixelBuffer::FillRect(int x, int y, int w, int h, Pixel p) {
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width_);
    const int y1 = std::min(y + h, height_);
    for (int yy = y0; yy < y1; ++yy) {
        for (int xx = x0; xx < x1; ++xx) {
            pixels_[static_cast<std::size_t>(yy) * static_cast<std::size_t>(width_) +
                    static_cast<std::size_t>(xx)] = p;
        }
    }
}

TwipTransform TwipTransform::ForDevice(double devicePixelsPerPixel) {
    return TwipTransform{devicePixelsPerPixel / kTwipsPerPixel};
}

int TwipTransform::X(int twips) const {
    return static_cast<int>(std::lround(twips * scale + offsetX));
}

int TwipTransform::Y(int twips) const {
    return static_cast<int>(std::lround(twips * scale + offsetY));
}

int TwipsToPixels(int twips, double devicePixelsPerPixel) {
    return TwipTransform::ForDevice(devicePixelsPerPixel).X(twips);
}

int TwipTransform::PenWidth() const {
    return std::max(1, static_cast<int>(std::lround(scale * kTwipsPerPixel)));
}

namespace {

// A square pen of width w centred on (x, y), biased up and left for even widths.
void Plot(PixelBuffer& buffer, int x, int y, int w, Pixel p) {
    const int lead = (w - 1) / 2;
    buffer.FillRect(x - lead, y - lead, w, w, p);
}

double NormaliseAngle(double a) {
    constexpr double kTurn = 2.0 * std::numbers::pi;
    a = std::fmod(a, kTurn);
    return a < 0.0 ? a + kTurn : a;
}

} // namespace

void DrawLine(PixelBuffer& buffer, const TwipTransform& t, TwipPoint from, TwipPoint to, Pixel p) {
    int x0 = t.X(from.x);
    int y0 = t.Y(from.y);
    const int x1 = t.X(to.x);
    const int y1 = t.Y(to.y);
    const int w = t.PenWidth();
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Plot(buffer, x0, y0, w, p);
        if (x0 == x1 && y0 == y1) {
            break;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void DrawArc(PixelBuffer& buffer, const TwipTransform& t, TwipPoint centre, int radius, float start,
             float end, Pixel p) {
    const double cx = centre.x * t.scale + t.offsetX;
    const double cy = centre.y * t.scale + t.offsetY;
    const double r = radius * t.scale;
    const double half = t.PenWidth() / 2.0;
    const double a0 = NormaliseAngle(start);
    const double a1 = NormaliseAngle(end);
    const int xMin = std::max(0, static_cast<int>(std::floor(cx - r - half)));
    const int xMax = std::min(buffer.Width() - 1, static_cast<int>(std::ceil(cx + r + half)));
    const int yMin = std::max(0, static_cast<int>(std::floor(cy - r - half)));
    const int yMax = std::min(buffer.Height() - 1, static_cast<int>(std::ceil(cy + r + half)));
    // Every pixel whose distance from the centre lies within half a pen of the radius, kept
    // when its angle lies on the arc: a ring one pen wide with no gaps. Each row is searched
    // only where the ring can cross it, a pixel's width wider on each side than the ring.
    const double outer2 = (r + half) * (r + half);
    const double inner2 = (r - half) * (r - half);
    auto plot = [&](int x, int y) {
        const double d = std::hypot(x - cx, y - cy);
        if (d < r - half || d >= r + half) {
            return;
        }
        const double a = NormaliseAngle(std::atan2(cy - y, x - cx));
        const bool onArc = a0 <= a1 ? (a >= a0 && a <= a1) : (a >= a0 || a <= a1);
        if (onArc) {
            buffer.Set(x, y, p);
        }
    };
    for (int y = yMin; y <= yMax; ++y) {
        const double dy2 = (y - cy) * (y - cy);
        if (dy2 >= outer2) {
            continue;
        }
        const double xo = std::sqrt(outer2 - dy2);
        const int lo = std::max(xMin, static_cast<int>(std::floor(cx - xo)) - 1);
        const int hi = std::min(xMax, static_cast<int>(std::ceil(cx + xo)) + 1);
        // Inside the inner edge of the ring nothing is drawn.
        int gapFrom = hi + 1;
        int gapTo = hi;
        if (dy2 < inner2) {
            const double xi = std::sqrt(inner2 - dy2);
            gapFrom = static_cast<int>(std::floor(cx - xi)) + 2;
            gapTo = static_cast<int>(std::ceil(cx + xi)) - 2;
        }
        for (int x = lo; x <= hi; ++x) {
            if (x >= gapFrom && x <= gapTo) {
                x = gapTo;
                continue;
            }
            plot(x, y);
        }
    }
}

PixelBuffer RenderFigure(int size) {
    PixelBuffer image(size, size, kWhite);
    // The circle spans 220 to 2420 twips; its outermost pixels touch the image's edges. A
    // scale below one pixel per pixel keeps a one-pixel pen.
    const double k = (size - 1) / static_cast<double>(2 * ArcCircle.radius);
    const double offset = -(ArcCircle.centre.x - ArcCircle.radius) * k;
    const TwipTransform t{k, offset, offset};
    const Pixel black = ToPixel(kBlack);
    // On the board the lines stop at the boxes; the picture has none, so every end runs on to
    // its corner of the square (the sides of the left and the right line), closing the square.
    const auto corner = [](TwipPoint p) {
        const auto side = [](int v) {
            return v < ArcCircle.centre.x ? kLines[0].from.x : kLines[2].from.x;
        };
        return TwipPoint{side(p.x), side(p.y)};
    };
    for (const LineLayout& line : kLines) {
        DrawLine(image, t, corner(line.from), corner(line.to), black);
    }
    for (const ArcLayout& arc : kArcs) {
        DrawArc(image, t, ArcCircle.centre, ArcCircle.radius, ArcAngle(arc.startBits),
                ArcAngle(arc.endBits), black);
    }
    return image;
}

} // namespace tessarline
