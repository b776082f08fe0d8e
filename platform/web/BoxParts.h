// A box as the page's scripts read it, one number at a time: for both web modules.
#pragma once

#include "board/core/BoardPicture.h"

#include <array>
#include <cstddef>

namespace tessarline {

// Part 0 to 3 of a box's rectangle in device pixels at dpr device pixels per CSS pixel: x, y,
// width, height; part 4 the width of its border, part 5 its caption.
inline int BoxPart(int node, int part, double dpr) {
    const TwipTransform t = TwipTransform::ForDevice(dpr);
    const PixelRect r = BoxRect(node, t);
    const int caption = kBoxes.at(static_cast<std::size_t>(node - 1)).caption;
    const std::array<int, 6> parts = {r.x, r.y, r.width, r.height, BoxBorderWidth(t), caption};
    return parts.at(static_cast<std::size_t>(part));
}

} // namespace tessarline
