// What the board window shows, computed once for both front ends: the window surface with the
// arcs painted on it, and the lines and boxes above it. The front ends add only the boxes'
// captions, which need the platform's font.
#pragma once

#include "board/core/Form1.h"
#include "board/core/Raster.h"

#include <vector>

namespace tessarline {

// The arcs painted on the window surface so far. Painting an arc again replaces the earlier
// stroke, so a repaint can show every arc in the colour it was last drawn in.
class BoardSurface {
public:
    struct Stroke {
        TwipPoint centre;
        int radius;
        Colour colour;
        float start;
        float end;
    };

    void DrawArc(TwipPoint centre, int radius, Colour colour, float start, float end);
    const std::vector<Stroke>& Strokes() const { return strokes_; }

private:
    std::vector<Stroke> strokes_;
};

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
PixelBuffer RenderBoard(const Form1& form, const BoardSurface& surface, const TwipTransform& t);

} // namespace tessarline
