// The picture of the complete figure for the help dialog, drawn from the figure's geometry.
#pragma once

#include <QImage>
#include <QSize>

namespace tessarline {

// The dialog's stored picture: 50 by 50 pixels, 24-bit, the whole figure black on white.
QImage FigureBitmap();

// Stretches a black-on-white image the way a picture control does: every target pixel is the
// bitwise AND of the source pixels it covers, so a shrunk one-pixel line never drops out.
QImage StretchBlackOnWhite(const QImage& source, QSize size);

} // namespace tessarline
