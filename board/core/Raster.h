// Pixel drawing of the figure, shared by both front ends and by the icon and picture makers so
// that every one of them shows exactly the same pixels.
#pragma once

#include "board/core/Types.h"

#include <cstdint>
#include <vector>

namespace tessarline {

// 32-bit pixels 0xAARRGGBB: the layout of Qt's RGB32 images and of top-down Windows DIBs.
using Pixel = std::uint32_t;

constexpr Pixel ToPixel(Colour c) {
    const Colour rgb = ResolveColour(c);
    return 0xFF000000u | (Pixel{RedOf(rgb)} << 16) | (Pixel{GreenOf(rgb)} << 8) | BlueOf(rgb);
}

class PixelBuffer {
public:
    PixelBuffer(int width, int height, Colour fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Pixel At(int x, int y) const;
    // Points outside the buffer are ignored, so shapes may run over its edge.
    void Set(int x, int y, Pixel p);
    void FillRect(int x, int y, int w, int h, Pixel p);
    const Pixel* Data() const { return pixels_.data(); }
    Pixel* Data() { return pixels_.data(); }

private:
    int width_;
    int height_;
    std::vector<Pixel> pixels_;
};

// Maps twips to device pixels: pixel = twips * scale + offset.
struct TwipTransform {
    double scale;
    double offsetX = 0.0;
    double offsetY = 0.0;

    // Scale of a client area shown at the given number of device pixels per 96-DPI pixel.
    static TwipTransform ForDevice(double devicePixelsPerPixel);
    int X(int twips) const;
    int Y(int twips) const;
    // Width of a one-pixel pen at this scale, in device pixels.
    int PenWidth() const;
};

// Twips as device pixels at the given number of device pixels per 96-DPI pixel: the one
// rounding that every window, control and picture of the program uses.
int TwipsToPixels(int twips, double devicePixelsPerPixel);

// A straight line, both end points included, drawn with a square pen of the given width.
void DrawLine(PixelBuffer& buffer, const TwipTransform& t, TwipPoint from, TwipPoint to, Pixel p);

// An arc of a circle, counter-clockwise from start to end (radians, 0 to the right, growing
// counter-clockwise on screen); an end below the start passes through angle 0.
void DrawArc(PixelBuffer& buffer, const TwipTransform& t, TwipPoint centre, int radius, float start,
             float end, Pixel p);

// The complete figure (every line and arc) in black on white, fitted to a square image.
PixelBuffer RenderFigure(int size);

} // namespace tessarline
