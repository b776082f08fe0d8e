// The rendered pixels as a Qt image: a PixelBuffer's 0xFFRRGGBB words are QImage's RGB32 layout.
#pragma once

#include "board/core/Raster.h"

#include <QImage>

namespace tessarline {

// Wraps the buffer's pixels without copying; the buffer must outlive the image, or the image
// must be copied first.
inline QImage WrapPixels(const PixelBuffer& buffer) {
    return QImage(reinterpret_cast<const uchar*>(buffer.Data()), buffer.Width(), buffer.Height(),
                  static_cast<qsizetype>(buffer.Width()) * 4, QImage::Format_RGB32);
}

} // namespace tessarline
