// What the board window shows, computed once for both front ends from the board's own state:
// the arcs painted on the window surface, and the lines and boxes above it. The front ends add
// only the boxes' captions, which need the platform's font.
#pragma once

#include "board/core/Form1.h"
#include "board/core/Raster.h"

namespace tessarline {

struct PixelRect {
    int x;
    int y;
    int width;
    int height;
};

// The client area's size in device pixels.
int ClientWidth(const TwipTransform& t);
int ClientHeight(const TwipTransform& t);

// A node box's rectangle in device pixels, border included.
PixelRect BoxRect(int node, const TwipTransform& t);
// Width of a box's flat border in device pixels.
int BoxBorderWidth(const TwipTransform& t);

// The node whose box covers the point, in twips, or 0 when the point is on no box.
NodeIndex NodeAt(TwipPoint p);
// The node whose box, as painted at this scale, covers the device pixel, or 0: every pixel
// drawn as part of a box answers to a click, whatever the rounding of the scale.
NodeIndex NodeAtPixel(int x, int y, const TwipTransform& t);

// The whole client area except the boxes' captions.
PixelBuffer RenderBoard(const Form1& form, const TwipTransform& t);

} // namespace tessarline
