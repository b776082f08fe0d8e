// The picture of the complete figure for the help dialog, and the application icon, both drawn
// from the figure's geometry.
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

namespace tessarline {

// The dialog's stored picture: 50 by 50 pixels, 24-bit, the whole figure black on white.
QImage FigureBitmap();

// Stretches a black-on-white image the way a picture control does: every target pixel is the
// bitwise AND of the source pixels it covers, so a shrunk one-pixel line never drops out.
QImage StretchBlackOnWhite(const QImage& source, QSize size);

// The figure at 16, 32 and 48 pixels.
QIcon FigureIcon();

} // namespace tessarline
