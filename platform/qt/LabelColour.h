// The colour of the help dialog's labels: black as designed, unless the theme's dialog face is
// too dark for black text to be read on it; then the theme's own text colour.
#pragma once

#include <QColor>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace tessarline {

// Relative luminance of an sRGB colour, as accessibility contrast is measured.
inline double Luminance(const QColor& c) {
    const auto linear = [](float v) {
        return v <= 0.04045f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

inline double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// 4.5:1 is the usual least contrast for text.
inline QColor LabelTextColour(const QPalette& palette) {
    const QColor face = palette.color(QPalette::Window);
    const QColor themed = palette.color(QPalette::WindowText);
    const double black = Contrast(Qt::black, face);
    return black >= 4.5 || Contrast(themed, face) <= black ? QColor(Qt::black) : themed;
}

} // namespace tessarline
