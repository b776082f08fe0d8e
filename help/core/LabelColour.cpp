#include "help/core/LabelColour.h"

#include <algorithm>
#include <cmath>

namespace tessarline {

namespace {

// Relative luminance of an sRGB colour.
double Luminance(Colour c) {
    const auto linear = [](std::uint8_t byte) {
        const double v = byte / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(RedOf(c)) + 0.7152 * linear(GreenOf(c)) + 0.0722 * linear(BlueOf(c));
}

} // namespace

double Contrast(Colour a, Colour b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour LabelTextColour(Colour face, Colour text) {
    const double black = Contrast(kBlack, face);
    return black >= 4.5 || Contrast(text, face) <= black ? kBlack : text;
}

} // namespace tessarline
